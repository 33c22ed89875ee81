#include "VTWinModuleFileName.h"
#include "VTLastError.h"

#include <stdlib.h>

#include "VTCrtGuard.h"
#include "VTDebug.h"

namespace veltrano {

namespace {
constexpr DWORD kPathBufferSize = 2048;
constexpr size_t kDriveSize = 3;
constexpr size_t kPartSize = 256;

}  // namespace

Status VTWinModuleFileName::InitWithModuleHandle(HMODULE module) {
  fullPath.clear();
  drive.clear();
  directory.clear();
  fileName.clear();
  extension.clear();
  wchar_t buffer[kPathBufferSize] = {};
  if (GetModuleFileNameW(module, buffer, kPathBufferSize - 1) == 0) {
    const Status error = LastErrorOr();
    DebugPrint("ERROR: %s: GetModuleFileName failed, err=0x%08x\n",
               "veltrano::VTWinModuleFileName::InitWithModuleHandle", static_cast<unsigned>(error));
    return error;
  }
  fullPath = buffer;
  return InitPathComponents();
}

Status VTWinModuleFileName::InitPathComponents() {
  wchar_t driveBuffer[kDriveSize] = {};
  wchar_t directoryBuffer[kPartSize] = {};
  wchar_t nameBuffer[kPartSize] = {};
  wchar_t extensionBuffer[kPartSize] = {};
  errno_t error;
  {
    InvalidParameterHandlerScope scope;
    error = _wsplitpath_s(fullPath.c_str(), driveBuffer, kDriveSize, directoryBuffer, kPartSize,
                          nameBuffer, kPartSize, extensionBuffer, kPartSize);
  }
  if (error != 0) {
    DebugPrint("ERROR: %s: _wsplitpath_s(%S) failed, err=%d\n",
               "veltrano::VTWinModuleFileName::InitPathComponents", fullPath.c_str(), error);
    return status::FromErrno(error);
  }
  drive = driveBuffer;
  directory = directoryBuffer;
  fileName = nameBuffer;
  extension = extensionBuffer;
  return status::kOk;
}

}  // namespace veltrano
