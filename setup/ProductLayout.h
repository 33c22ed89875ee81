#pragma once
// What the driver package's setup installs and where: the user software (the mixer with its
// configuration and language folder, the driver API library with its configuration file, the
// device tool, and setup itself for removing it all again), the library's registration for its
// driver interface, a Start menu shortcut to the mixer, and the entry of the system's program
// list.
#include <windows.h>

#include <string>
#include <vector>

#include "VTStatus.h"

namespace product {
constexpr wchar_t kDisplayName[] = L"Sonarix USB Audio Driver";
constexpr wchar_t kPublisher[] = L"Sonarix";
constexpr wchar_t kVersion[] = L"5.7.0";
constexpr wchar_t kVendorFolder[] = L"Sonarix";
constexpr wchar_t kProductFolder[] = L"USB Audio Driver";
constexpr wchar_t kSetupFile[] = L"setup.exe";
constexpr wchar_t kMixerFile[] = L"dspmixer.exe";
constexpr wchar_t kDriverApiFile[] = L"sonarixapi.dll";
constexpr wchar_t kDriverApiIniFile[] = L"sonarixapi.ini";
constexpr wchar_t kLanguageFolder[] = L"dspmixer.strings";
// The files beside setup.exe that it installs, besides the language folder's *.txt files.
constexpr const wchar_t* kFiles[] = {L"setup.exe",      L"dspmixer.exe",   L"dspmixer.xml",
                                     L"sonarixapi.dll", L"sonarixapi.ini", L"sonarixsim.exe"};
constexpr wchar_t kShortcutFolder[] = L"Sonarix";
constexpr wchar_t kShortcutFile[] = L"Sonarix Mixer Control.lnk";
constexpr wchar_t kShortcutDescription[] = L"Sonarix Mixer Control";
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SonarixUsbAudioDriver";
constexpr wchar_t kClassesKey[] = L"Software\\Classes\\CLSID\\";
constexpr wchar_t kLogFile[] = L"SonarixSetup.log";
}  // namespace product

// The install folder "<native program files>\Sonarix\USB Audio Driver" (64-bit Windows: the
// 64-bit program files folder, as for any driver software).
veltrano::Status DefaultInstallFolder(std::wstring& folder);
// The folder of an earlier install, from its program list entry; empty when there is none.
std::wstring InstalledFolder();
// The folder of the running setup.exe, without a trailing backslash.
std::wstring OwnFolder();

// The files to install, relative to the package folder and the install folder alike.
veltrano::Status PackageFiles(const std::wstring& packageFolder,
                              std::vector<std::wstring>& relativePaths);
// The driver interface the library serves, from its configuration file ("{...}").
veltrano::Status DriverInterfaceOf(const std::wstring& iniFile, std::wstring& guid);
// The Start menu folder of every user's programs.
veltrano::Status CommonProgramsFolder(std::wstring& folder);
// "a\b" + "c" = "a\b\c".
std::wstring Join(const std::wstring& folder, const std::wstring& name);
