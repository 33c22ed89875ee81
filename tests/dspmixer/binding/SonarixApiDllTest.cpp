// Binding the driver API library: the groups of the reported version, the missing-entry exit,
// the version check, the registry lookup and the executable's folder.
#include <gtest/gtest.h>

#include <objbase.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "SonarixApiDll.h"
#include "UiFiles.h"
#include "UiPath.h"
#include "UiProcess.h"

namespace {

// The copied test program run with this option binds the named library beside itself and
// exits with the bound version, or with the failure.
constexpr char kChildOption[] = "--load-beside-me";

std::wstring Beside(const wchar_t* name) { return uitest::OwnFolder() + name; }
bool IsInProcess(const wchar_t* fileName) { return GetModuleHandleW(fileName) != nullptr; }

std::vector<std::string> UnboundNames(const SonarixApiDll& dll) {
  std::vector<std::string> names;
#define COLLECT_UNBOUND(name, major, minor) \
  if (dll.name == nullptr) names.push_back(#name);
  SONARIX_API_ENTRY_POINTS(COLLECT_UNBOUND)
#undef COLLECT_UNBOUND
  return names;
}

struct LoadCase {
  const wchar_t* file;
  bool checkVersion;
  StatusCode status;
  uint32_t version;
  size_t unbound;
};

class LoadTest : public testing::TestWithParam<LoadCase> {};

}  // namespace

TEST_P(LoadTest, BindsWhatTheReportedVersionHasAndFreesTheLibraryOnMissingEntries) {
  const LoadCase& c = GetParam();
  const bool staysLoaded = c.version != 0;
  {
    SonarixApiDll dll;
    EXPECT_EQ(c.status, dll.Load(Beside(c.file).c_str(), c.checkVersion, 5, 7));
    EXPECT_EQ(c.version, dll.ApiVersion());
    EXPECT_EQ(c.unbound, UnboundNames(dll).size());
    EXPECT_EQ(staysLoaded, dll.IsLoaded());
    EXPECT_EQ(staysLoaded, IsInProcess(c.file));
  }
  EXPECT_FALSE(IsInProcess(c.file));
}

INSTANTIATE_TEST_SUITE_P(
    StandInLibraries, LoadTest,
    testing::Values(LoadCase{L"bindfake57.dll", true, 0, 0x50007, 0},
                    LoadCase{L"bindfake_noversion.dll", true, ERROR_PROC_NOT_FOUND, 0, 70},
                    LoadCase{L"bindfake53.dll", true, 0, 0x50003, 4},
                    LoadCase{L"bindfake60_nohidden.dll", true, ERROR_PROC_NOT_FOUND, 0, 70},
                    // Refused: the library stays loaded with only the version pair bound.
                    LoadCase{L"bindfake_refusing.dll", true, mixer_status::kNotCompatible,
                             0x50007, 68},
                    LoadCase{L"bindfake_refusing.dll", false, 0, 0x50007, 0}));

TEST(SonarixApiDll, Version53LeavesTheLaterGroupsUnbound) {
  SonarixApiDll dll;
  ASSERT_EQ(0u, dll.Load(Beside(L"bindfake53.dll").c_str(), true, 5, 7));
  EXPECT_EQ((std::vector<std::string>{"SONARIX_SetSoundDeviceProfile",
                                      "SONARIX_GetControlPanelOptions", "SONARIX_GetExtendedInfo",
                                      "SONARIX_SetHwChannelHiddenFlags"}),
            UnboundNames(dll));
}

TEST(SonarixApiDll, MissingFileGivesFileNotFoundWithoutLoadingAnything) {
  // Without its extension the loader would still find the library: only the file check stops it.
  for (const std::wstring& path : {Beside(L"bindfake57"), Beside(L"no-such\\bindfake57.dll")}) {
    SonarixApiDll dll;
    EXPECT_EQ(static_cast<StatusCode>(ERROR_FILE_NOT_FOUND), dll.Load(path.c_str(), true, 5, 7));
    EXPECT_FALSE(dll.IsLoaded());
    EXPECT_FALSE(IsInProcess(L"bindfake57.dll"));
  }
}

TEST(SonarixApiDll, SecondLoadIsRefusedAndUnloadClearsEverything) {
  SonarixApiDll dll;
  ASSERT_EQ(0u, dll.Load(Beside(L"bindfake57.dll").c_str(), true, 5, 7));
  EXPECT_EQ(1u, dll.Load(Beside(L"bindfake53.dll").c_str(), true, 5, 7));
  EXPECT_EQ(0x50007u, dll.ApiVersion());
  EXPECT_FALSE(IsInProcess(L"bindfake53.dll"));
  dll.Unload();
  EXPECT_EQ(0u, dll.ApiVersion());
  EXPECT_EQ(70u, UnboundNames(dll).size());
  EXPECT_FALSE(IsInProcess(L"bindfake57.dll"));
}

TEST(SonarixApiDll, BindsAllEntryPointsOfTheSimulatedDriverLibrary) {
  SonarixApiDll dll;
  ASSERT_EQ(0u, dll.Load(uitest::WindowsPathOf(SONARIX_DLL).c_str(), true, 5, 7));
  EXPECT_EQ(0x50007u, dll.ApiVersion());
  EXPECT_TRUE(UnboundNames(dll).empty());
}

// A class registered for one test under a fresh GUID, removed again afterwards.
class LoadFromClsidTest : public testing::Test {
 protected:
  void SetUp() override {
    GUID guid = {};
    wchar_t text[40] = {};
    ASSERT_EQ(S_OK, CoCreateGuid(&guid));
    ASSERT_NE(0, StringFromGUID2(guid, text, 40));
    clsid_ = text;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CLASSES_ROOT, (ClassKey() + L"\\InprocServer32").c_str(), 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &server_, nullptr));
  }
  void TearDown() override {
    RegCloseKey(server_);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
  }
  std::wstring ClassKey() const { return L"CLSID\\" + clsid_; }
  void SetDefault(DWORD type, const std::wstring& text, DWORD bytes) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(server_, nullptr, 0, type,
                                            reinterpret_cast<const BYTE*>(text.c_str()), bytes));
  }

  std::wstring clsid_;
  HKEY server_ = nullptr;
};

TEST_F(LoadFromClsidTest, DefaultValueMustBeAPathThatFitsTheBuffer) {
  struct ValueCase {
    const char* what;
    DWORD type;
    std::wstring text;
    DWORD bytes;
    StatusCode status;
    uint32_t version;
  };
  const std::wstring library = Beside(L"bindfake57.dll");
  const std::wstring full(MAX_PATH + 1, L'a');  // no zero follows the first 260 characters
  const std::wstring fitting = L"C:\\no-such\\" + std::wstring(MAX_PATH - 12, L'a');
  const ValueCase cases[] = {
      {"a path", REG_SZ, library, DWORD(library.size() + 1) * 2, 0, 0x50007},
      {"a number", REG_DWORD, L"ab", 4, ERROR_BAD_FORMAT, 0},
      {"260 characters without a zero", REG_SZ, full, MAX_PATH * 2, ERROR_BUFFER_OVERFLOW, 0},
      {"longer than the buffer", REG_SZ, full, (MAX_PATH + 1) * 2, ERROR_MORE_DATA, 0},
      {"259 characters and a zero", REG_SZ, fitting, MAX_PATH * 2, ERROR_FILE_NOT_FOUND, 0},
      {"an empty path", REG_SZ, L"", 2, ERROR_FILE_NOT_FOUND, 0},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.what);
    SetDefault(c.type, c.text, c.bytes);
    SonarixApiDll dll;
    EXPECT_EQ(c.status, dll.LoadFromClsid(clsid_.c_str(), true, 5, 7));
    EXPECT_EQ(c.version, dll.ApiVersion());
  }
}

TEST_F(LoadFromClsidTest, ExpandablePathIsUsedAsStored) {
  // As stored, the path names a folder literally called "%BINDING_TEST_FOLDER%" with the 5.3
  // library; expanded, it would name the folder with the 5.7 library.
  uitest::ScratchFolder scratch;
  const std::wstring literal = scratch.File(L"%BINDING_TEST_FOLDER%");
  ASSERT_TRUE(CreateDirectoryW(literal.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(scratch.File(L"expanded").c_str(), nullptr));
  const std::wstring stored = literal + L"\\api.dll";
  const std::wstring expanded = scratch.File(L"expanded\\api.dll");
  ASSERT_TRUE(CopyFileW(Beside(L"bindfake53.dll").c_str(), stored.c_str(), TRUE));
  ASSERT_TRUE(CopyFileW(Beside(L"bindfake57.dll").c_str(), expanded.c_str(), TRUE));
  ASSERT_TRUE(SetEnvironmentVariableW(L"BINDING_TEST_FOLDER", L"expanded"));
  SetDefault(REG_EXPAND_SZ, stored, DWORD(stored.size() + 1) * 2);

  SonarixApiDll dll;
  EXPECT_EQ(0u, dll.LoadFromClsid(clsid_.c_str(), true, 5, 7));
  EXPECT_EQ(0x50003u, dll.ApiVersion());
}

TEST_F(LoadFromClsidTest, MissingKeyOrValueGivesFileNotFound) {
  SonarixApiDll dll;
  const auto notFound = static_cast<StatusCode>(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(notFound, dll.LoadFromClsid(clsid_.c_str(), true, 5, 7));  // no default value yet
  const std::wstring serverKey = ClassKey() + L"\\InprocServer32";
  ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CLASSES_ROOT, serverKey.c_str()));
  EXPECT_EQ(notFound, dll.LoadFromClsid(clsid_.c_str(), true, 5, 7));
  EXPECT_EQ(notFound, dll.LoadFromClsid(L"{00000000-0000-0000-0000-0000B1D1A0FF}", true, 5, 7));
}

TEST(LoadFromExecutableFolder, LoadsTheLibraryBesideTheRunningProgram) {
  uitest::ScratchFolder scratch;
  wchar_t self[MAX_PATH] = {};
  ASSERT_NE(0u, GetModuleFileNameW(nullptr, self, MAX_PATH));
  ASSERT_TRUE(CopyFileW(self, scratch.File(L"bindchild.exe").c_str(), TRUE));
  ASSERT_TRUE(
      CopyFileW(Beside(L"bindfake53.dll").c_str(), scratch.File(L"beside.dll").c_str(), TRUE));
  uitest::StartOptions options;
  options.workingFolder = uitest::OwnFolder();  // the current folder has no such library
  uitest::Process child;
  ASSERT_EQ(0u, child.Start(scratch.File(L"bindchild.exe"), L"--load-beside-me beside.dll",
                            options));
  ASSERT_TRUE(child.WaitForExit(30000));
  EXPECT_EQ(0x50003u, child.ExitCode());  // the version of the library copied beside it
}

TEST(LoadFromExecutableFolder, PathOverTheLimitGivesFilenameTooLong) {
  SonarixApiDll dll;
  const std::wstring name(MAX_PATH, L'a');
  EXPECT_EQ(static_cast<StatusCode>(ERROR_FILENAME_EXCED_RANGE),
            dll.LoadFromExecutableFolder(name.c_str(), true, 5, 7));
}

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], kChildOption) == 0) {
    const std::wstring name(argv[2], argv[2] + std::strlen(argv[2]));
    SonarixApiDll dll;
    const StatusCode status = dll.LoadFromExecutableFolder(name.c_str(), true, 5, 7);
    return static_cast<int>(status != 0 ? status : dll.ApiVersion());
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
