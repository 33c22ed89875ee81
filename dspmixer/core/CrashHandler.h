#pragma once
// Writes a full memory dump of the process when an exception reaches the top unhandled.
// Both programs install it first thing at start-up; it never reports anything.
#include <windows.h>

#include <stddef.h>

// Room of every text of the crash handler: 259 characters and the terminator.
constexpr size_t kCrashTextSize = MAX_PATH;
// The special-folder identifier that means "no shell folder".
constexpr int kNoSpecialFolder = -1;

using CrashText = wchar_t[kCrashTextSize];

struct CrashHandlerSettings {
  CrashText applicationName;  // the dump file's name before the time
  CrashText dumpFolder;       // may hold environment variables; empty for none
  int specialFolderId;        // a CSIDL_ value, or kNoSpecialFolder
};

// Installs the handler once per process: the first call stores the settings and sets the
// top-level exception filter; a later call changes nothing and returns
// ERROR_ALREADY_INITIALIZED. A null application name stands for the executable's base name
// ("failed" when that is unavailable), a null dump folder for "%TEMP%". A text over 259
// characters gives ERROR_FILENAME_EXCED_RANGE and installs nothing.
DWORD InstallCrashHandler(const wchar_t* applicationName, const wchar_t* dumpFolder,
                          int specialFolderId);

// The settings that InstallCrashHandler stores for these arguments.
DWORD MakeCrashHandlerSettings(const wchar_t* applicationName, const wchar_t* dumpFolder,
                               int specialFolderId, CrashHandlerSettings& settings);

// The settings in force, or null before the handler is installed.
const CrashHandlerSettings* InstalledCrashHandlerSettings();

// Where a crash at local time `time` puts its dump: the dump folder with environment
// variables expanded and without a trailing backslash, and the file path
// "<folder>\<name>_YYYYMMDDhhmmss.dmp". A shell folder is created if missing; nothing else
// is created. Fails (and the filter gives up) when a part is unavailable or too long.
DWORD BuildCrashDumpPath(const CrashHandlerSettings& settings, const SYSTEMTIME& time,
                         CrashText& folder, CrashText& path);

// Creates every folder along `folder`, from its first component on; folders that exist or
// cannot be made are passed over (creating the dump file tells whether it worked).
void CreateFolderPath(const wchar_t* folder);
