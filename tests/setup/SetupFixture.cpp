#include "SetupFixture.h"

#include "VTStringConv.h"

namespace setuptest {
namespace {

DWORD PackageKiloBytes() {
  unsigned long long bytes = 0;
  for (const std::wstring& file : PackageFiles()) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExW(Join(PackageFolder(), file).c_str(), GetFileExInfoStandard, &data)) {
      bytes += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
  }
  return static_cast<DWORD>((bytes + 1023) / 1024);
}

}  // namespace

SetupFixture::SetupFixture() : temp_(scratch_.File(L"temp")) {
  ::CreateDirectoryW(temp_.c_str(), nullptr);
  options_.environment = {{L"TEMP", temp_}, {L"TMP", temp_}};
}

std::vector<std::wstring> SetupFixture::TempVariables() const {
  return {L"TEMP=" + temp_, L"TMP=" + temp_};
}

uint32_t SetupFixture::RunSetup(const std::wstring& arguments) {
  uitest::Process setup;
  EXPECT_EQ(0u, setup.Start(PackageSetup(), arguments, options_));
  EXPECT_TRUE(setup.WaitForExit(kWaitMs)) << "setup did not end";
  return setup.ExitCode();
}

const std::wstring& SetupFixture::Package() {
  static const uitest::ScratchFolder folder;
  static const std::wstring package = MakePackage(folder, L"SonarixDriverPackage.exe", nullptr,
                                                  uitest::WindowsPathOf(DRIVER_PACKAGE_ARCHIVE));
  return package;
}

::testing::AssertionResult SetupFixture::RunPackage(const std::wstring& arguments,
                                                    std::wstring& result) {
  static const std::wstring kResult = L"installation ";
  const size_t resultsBefore = CountLines(Log(), kResult);
  const RunResult stub = RunAnsweringBoxes(Package(), arguments, options_);
  if (stub.exitCode != 0 || !stub.boxes.empty()) {
    return ::testing::AssertionFailure()
           << "the stub ended with " << stub.exitCode << " after " << stub.boxes.size() << " boxes";
  }
  if (!WaitUntil([&] { return CountLines(Log(), kResult) > resultsBefore; })) {
    return ::testing::AssertionFailure() << "setup logged no result";
  }
  // Setup's own file is in the unpacked package: it has to end before the folder can go.
  if (!WaitUntil([&] { return ProgramsRunningFrom(temp_).empty(); })) {
    return ::testing::AssertionFailure() << "setup did not end";
  }
  for (const std::wstring& line : Log()) {
    if (line.compare(0, kResult.size(), kResult) == 0) result = line;
  }
  return ::testing::AssertionSuccess();
}

void SetupFixture::ExpectInstalledAt(const std::wstring& folder) {
  EXPECT_TRUE(InstalledAsPackaged(folder));

  const RegistryValue server = ReadValue(ClassKey() + L"\\InprocServer32", nullptr);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), server.type);
  EXPECT_EQ(Join(folder, L"sonarixapi.dll"), server.text);
  // A 32-bit program's registration is for 32-bit clients only.
  if (!RedirectedProgramFiles().empty()) {
    EXPECT_FALSE(KeyExists(ClassKey(), true));
  }

  const std::wstring setup = L"\"" + Join(folder, L"setup.exe") + L"\"";
  const struct {
    const wchar_t* name;
    std::wstring text;
  } strings[] = {
      {L"DisplayName", kDisplayName},
      {L"DisplayVersion", L"5.7.0"},
      {L"Publisher", L"Sonarix"},
      {L"InstallLocation", folder},
      {L"UninstallString", setup + L" /uninstall"},
      {L"QuietUninstallString", setup + L" /uninstall /quiet"},
  };
  for (const auto& expected : strings) {
    const RegistryValue value = ReadValue(kUninstallKey, expected.name);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type) << expected.name;
    EXPECT_EQ(expected.text, value.text) << expected.name;
  }
  const RegistryValue size = ReadValue(kUninstallKey, L"EstimatedSize");
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), size.type);
  EXPECT_EQ(PackageKiloBytes(), size.number);
  EXPECT_GT(size.number, 0u);

  const Shortcut shortcut = ReadShortcut(ShortcutPath());
  EXPECT_TRUE(shortcut.loaded);
  EXPECT_EQ(Join(folder, L"dspmixer.exe"), shortcut.target);
  EXPECT_EQ(folder, shortcut.workingFolder);
}

void SetupFixture::ExpectNothingInstalled() {
  const std::wstring folder = InstallFolder();
  EXPECT_FALSE(FolderExists(folder.substr(0, folder.find_last_of(L'\\'))))
      << "the vendor folder is left";
  EXPECT_FALSE(FolderExists(ShortcutFolder())) << "the Start menu folder is left";
  for (const bool native : {false, true}) {
    EXPECT_FALSE(KeyExists(kUninstallKey, native));
    EXPECT_FALSE(KeyExists(ClassKey(), native));
  }
  if (!RedirectedProgramFiles().empty()) {
    EXPECT_FALSE(FolderExists(Join(RedirectedProgramFiles(), L"Sonarix")));
  }
}

}  // namespace setuptest
