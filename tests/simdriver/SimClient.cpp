// A second client of the library for the cross-process tests: loads it by path, opens device
// index 0, reports ready and waits for the start signal, so that several clients send their
// node weight writes at the same moment. Exit code 0, or the first failing status.
// Arguments: library path, number of writes, name of the ready semaphore, name of the start event.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "SonarixApi.h"

namespace {

constexpr uint32_t kLoadFailed = 0xEE0000F1;
constexpr uint32_t kBadArguments = 0xEE0000F2;
constexpr uint32_t kNoStartSignal = 0xEE0000F3;
constexpr DWORD kStartTimeoutMs = 30000;

uint32_t SendWrites(HMODULE library, unsigned count, HANDLE ready, HANDLE start) {
  const auto enumerate = reinterpret_cast<decltype(&SONARIX_EnumerateDevices)>(
      reinterpret_cast<void*>(GetProcAddress(library, "SONARIX_EnumerateDevices")));
  const auto open = reinterpret_cast<decltype(&SONARIX_OpenDeviceByIndex)>(
      reinterpret_cast<void*>(GetProcAddress(library, "SONARIX_OpenDeviceByIndex")));
  const auto set = reinterpret_cast<decltype(&SONARIX_SetDspProperty)>(
      reinterpret_cast<void*>(GetProcAddress(library, "SONARIX_SetDspProperty")));
  if (enumerate == nullptr || open == nullptr || set == nullptr) return kLoadFailed;
  uint32_t status = enumerate();
  if (status != 0) return status;
  SONARIX_HANDLE handle = 0;
  status = open(0, &handle);
  if (status != 0) return status;
  ReleaseSemaphore(ready, 1, nullptr);
  if (WaitForSingleObject(start, kStartTimeoutMs) != WAIT_OBJECT_0) return kNoStartSignal;
  for (unsigned i = 0; i < count; ++i) {
    // unit 77, property 200, node AppPlayback 0 -> DeviceOutput 0, weight i
    uint8_t request[16] = {77, 0, 0, 0, 200, 0, 0, 0, 0, 0, 1, 0};
    std::memcpy(request + 12, &i, 4);
    status = set(handle, request, sizeof(request));
    if (status != 0) return status;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) return static_cast<int>(kBadArguments);
  const HANDLE ready = OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, argv[3]);
  const HANDLE start = OpenEventW(SYNCHRONIZE, FALSE, argv[4]);
  const HMODULE library = LoadLibraryW(argv[1]);
  if (ready == nullptr || start == nullptr || library == nullptr)
    return static_cast<int>(kLoadFailed);
  const uint32_t status =
      SendWrites(library, static_cast<unsigned>(std::wcstoul(argv[2], nullptr, 10)), ready, start);
  FreeLibrary(library);
  CloseHandle(start);
  CloseHandle(ready);
  return static_cast<int>(status);
}
