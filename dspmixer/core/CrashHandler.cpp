#include "CrashHandler.h"
#include "VTLastError.h"

#include <dbghelp.h>
#include <shlobj.h>
#include <stdio.h>
#include <wchar.h>

#include "VTHandles.h"
#include "WnLibrary.h"

// Everything the exception filter reaches works on the stack and the stored settings only:
// when it runs, the heap may be what failed.

namespace {

CrashHandlerSettings g_settings = {};
volatile LONG g_installed = 0;

using MiniDumpWriteDumpFunction = decltype(&MiniDumpWriteDump);

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Copies `text` into `target`; false when it does not fit.
bool CopyText(CrashText& target, const wchar_t* text) {
  const size_t length = wcsnlen(text, kCrashTextSize);
  if (length >= kCrashTextSize) return false;
  wmemcpy(target, text, length + 1);
  return true;
}

// Appends `text` to `target`; false (and `target` unchanged) when it does not fit.
bool AppendText(CrashText& target, const wchar_t* text) {
  const size_t used = wcslen(target);
  const size_t length = wcslen(text);
  if (used + length >= kCrashTextSize) return false;
  wmemcpy(target + used, text, length + 1);
  return true;
}

// The running executable's full path.
DWORD GetExecutablePath(CrashText& path) {
  const DWORD length = GetModuleFileNameW(nullptr, path, kCrashTextSize);
  if (length == 0) return veltrano::LastErrorOr();
  // A path that filled the buffer was cut.
  if (length >= kCrashTextSize) return ERROR_INSUFFICIENT_BUFFER;
  return ERROR_SUCCESS;
}

// The executable's file name without its extension, or "failed".
void GetExecutableBaseName(CrashText& name) {
  CrashText path;
  if (GetExecutablePath(path) != ERROR_SUCCESS) {
    CopyText(name, L"failed");
    return;
  }
  const wchar_t* base = path;
  for (const wchar_t* c = path; *c != L'\0'; ++c) {
    if (IsSeparator(*c)) base = c + 1;
  }
  CopyText(name, base);
  wchar_t* extension = wcsrchr(name, L'.');
  if (extension != nullptr) *extension = L'\0';
}

// The executable's drive and directory, with the trailing backslash.
DWORD GetExecutableFolder(CrashText& folder) {
  const DWORD error = GetExecutablePath(folder);
  if (error != ERROR_SUCCESS) return error;
  wchar_t* afterSeparator = folder;
  for (wchar_t* c = folder; *c != L'\0'; ++c) {
    if (IsSeparator(*c)) afterSeparator = c + 1;
  }
  *afterSeparator = L'\0';
  return ERROR_SUCCESS;
}

using SHGetSpecialFolderPathFunction = decltype(&SHGetSpecialFolderPathW);

// The shell folder `specialFolderId` (created if missing). The shell's library is loaded only
// for a crash that needs it: a program that never asks for a shell folder does not carry it.
DWORD GetSpecialFolderPath(int specialFolderId, CrashText& folder) {
  WnLibrary shell32;
  const DWORD loadError = shell32.LoadFromSystemFolder(L"SHELL32.DLL");
  if (loadError != ERROR_SUCCESS) return loadError;
  const auto getPath = shell32.GetProc<SHGetSpecialFolderPathFunction>("SHGetSpecialFolderPathW");
  if (getPath == nullptr) return ERROR_PROC_NOT_FOUND;
  return getPath(nullptr, folder, specialFolderId, TRUE) ? ERROR_SUCCESS : ERROR_PATH_NOT_FOUND;
}

// The shell folder `specialFolderId`, then the dump folder below it.
DWORD BuildSpecialFolderPath(const CrashHandlerSettings& settings, CrashText& folder) {
  const DWORD error = GetSpecialFolderPath(settings.specialFolderId, folder);
  if (error != ERROR_SUCCESS) return error;
  if (settings.dumpFolder[0] == L'\0') return ERROR_SUCCESS;
  const size_t length = wcslen(folder);
  if (length == 0 || !IsSeparator(folder[length - 1])) {
    if (!AppendText(folder, L"\\")) return ERROR_FILENAME_EXCED_RANGE;
  }
  if (!AppendText(folder, settings.dumpFolder)) return ERROR_FILENAME_EXCED_RANGE;
  return ERROR_SUCCESS;
}

// The dump folder before environment variables are expanded.
DWORD BuildUnexpandedFolder(const CrashHandlerSettings& settings, CrashText& folder) {
  if (settings.specialFolderId != kNoSpecialFolder) {
    return BuildSpecialFolderPath(settings, folder);
  }
  if (settings.dumpFolder[0] == L'\0') return GetExecutableFolder(folder);
  CopyText(folder, settings.dumpFolder);
  return ERROR_SUCCESS;
}

DWORD ExpandFolder(const CrashText& unexpanded, CrashText& folder) {
  const DWORD needed = ExpandEnvironmentStringsW(unexpanded, folder, kCrashTextSize);
  if (needed == 0) return veltrano::LastErrorOr();
  if (needed > kCrashTextSize) return ERROR_FILENAME_EXCED_RANGE;
  if (folder[0] == L'\0') return ERROR_BAD_PATHNAME;
  return ERROR_SUCCESS;
}

// "C:\dumps\" and "C:\dumps" name the same folder; the file name adds its own backslash.
void RemoveTrailingSeparators(CrashText& folder) {
  size_t length = wcslen(folder);
  while (length > 0 && IsSeparator(folder[length - 1])) folder[--length] = L'\0';
}

DWORD FormatDumpFilePath(const CrashText& folder, const CrashText& applicationName,
                         const SYSTEMTIME& time, CrashText& path) {
  const int written = _snwprintf_s(
      path, kCrashTextSize, _TRUNCATE, L"%s\\%s_%d%02d%02d%02d%02d%02d.dmp", folder,
      applicationName, time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
  return written < 0 ? ERROR_FILENAME_EXCED_RANGE : ERROR_SUCCESS;
}

DWORD WriteCrashDump(const CrashHandlerSettings& settings, EXCEPTION_POINTERS* exception) {
  // Only the system's copy: a planted DBGHELP.DLL beside a package must never run.
  WnLibrary dbghelp;
  const DWORD loadError = dbghelp.LoadFromSystemFolder(L"DBGHELP.DLL");
  if (loadError != ERROR_SUCCESS) return loadError;
  const auto writeDump = dbghelp.GetProc<MiniDumpWriteDumpFunction>("MiniDumpWriteDump");
  if (writeDump == nullptr) return ERROR_PROC_NOT_FOUND;

  SYSTEMTIME now;
  GetLocalTime(&now);
  CrashText folder;
  CrashText path;
  const DWORD pathError = BuildCrashDumpPath(settings, now, folder, path);
  if (pathError != ERROR_SUCCESS) return pathError;
  CreateFolderPath(folder);

  const veltrano::UniqueHandle file(CreateFileW(path, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return veltrano::LastErrorOr();
  MINIDUMP_EXCEPTION_INFORMATION information = {};
  information.ThreadId = GetCurrentThreadId();
  information.ExceptionPointers = exception;
  information.ClientPointers = FALSE;
  if (!writeDump(GetCurrentProcess(), GetCurrentProcessId(), file.Get(), MiniDumpWithFullMemory,
                 &information, nullptr, nullptr)) {
    return veltrano::LastErrorOr();
  }
  return ERROR_SUCCESS;
}

LONG WINAPI CrashDumpFilter(EXCEPTION_POINTERS* exception) {
  // Whatever failed, the system's own handling (and the end of the process) follows.
  static_cast<void>(WriteCrashDump(g_settings, exception));
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DWORD MakeCrashHandlerSettings(const wchar_t* applicationName, const wchar_t* dumpFolder,
                               int specialFolderId, CrashHandlerSettings& settings) {
  CrashHandlerSettings made = {};
  if (applicationName == nullptr) {
    GetExecutableBaseName(made.applicationName);
  } else if (!CopyText(made.applicationName, applicationName)) {
    return ERROR_FILENAME_EXCED_RANGE;
  }
  if (!CopyText(made.dumpFolder, dumpFolder != nullptr ? dumpFolder : L"%TEMP%")) {
    return ERROR_FILENAME_EXCED_RANGE;
  }
  made.specialFolderId = specialFolderId;
  settings = made;
  return ERROR_SUCCESS;
}

DWORD InstallCrashHandler(const wchar_t* applicationName, const wchar_t* dumpFolder,
                          int specialFolderId) {
  if (g_installed != 0) return ERROR_ALREADY_INITIALIZED;
  CrashHandlerSettings settings;
  const DWORD error =
      MakeCrashHandlerSettings(applicationName, dumpFolder, specialFolderId, settings);
  if (error != ERROR_SUCCESS) return error;
  // The settings are written once, by the one caller that wins the flag.
  if (InterlockedCompareExchange(&g_installed, 1, 0) != 0) return ERROR_ALREADY_INITIALIZED;
  g_settings = settings;
  SetUnhandledExceptionFilter(CrashDumpFilter);
  return ERROR_SUCCESS;
}

const CrashHandlerSettings* InstalledCrashHandlerSettings() {
  return g_installed != 0 ? &g_settings : nullptr;
}

DWORD BuildCrashDumpPath(const CrashHandlerSettings& settings, const SYSTEMTIME& time,
                         CrashText& folder, CrashText& path) {
  CrashText unexpanded;
  DWORD error = BuildUnexpandedFolder(settings, unexpanded);
  if (error != ERROR_SUCCESS) return error;
  error = ExpandFolder(unexpanded, folder);
  if (error != ERROR_SUCCESS) return error;
  RemoveTrailingSeparators(folder);
  return FormatDumpFilePath(folder, settings.applicationName, time, path);
}

void CreateFolderPath(const wchar_t* folder) {
  CrashText partial;
  if (!CopyText(partial, folder)) return;
  const size_t length = wcslen(partial);
  // From 1 on: a leading backslash alone names no folder to create.
  for (size_t end = 1; end <= length; ++end) {
    if (end < length && !IsSeparator(partial[end])) continue;
    const wchar_t kept = partial[end];
    partial[end] = L'\0';
    CreateDirectoryW(partial, nullptr);
    partial[end] = kept;
  }
}
