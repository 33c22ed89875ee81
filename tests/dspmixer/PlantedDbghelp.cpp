// Stands in for a dbghelp.dll planted beside a package: loading it leaves the marker file
// "dbghelp.dll.loaded" next to it, and its MiniDumpWriteDump writes no dump.
#include <windows.h>

#include <wchar.h>

namespace {

void LeaveMarker(HMODULE self) {
  wchar_t path[MAX_PATH + 16] = {};
  const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  wcscpy(path + length, L".loaded");
  HANDLE file =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(instance);
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI
    MiniDumpWriteDump(HANDLE, DWORD, HANDLE file, int, void*, void*, void*) {
  static const char kText[] = "planted";
  DWORD written = 0;
  WriteFile(file, kText, sizeof kText - 1, &written, nullptr);
  return TRUE;
}
