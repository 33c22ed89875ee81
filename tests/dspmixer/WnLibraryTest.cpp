// Loading libraries by name and from the system folder only, typed entry points, freeing.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "CrashTestSupport.h"
#include "WnLibrary.h"

namespace {

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return folder;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

std::wstring PlantedFolder() { return FolderOf(ExecutablePath()) + L"\\planted"; }

// Sets the current folder for one test and puts the old one back.
class CurrentFolderScope {
 public:
  explicit CurrentFolderScope(const std::wstring& folder) {
    GetCurrentDirectoryW(MAX_PATH, previous_);
    SetCurrentDirectoryW(folder.c_str());
  }
  ~CurrentFolderScope() { SetCurrentDirectoryW(previous_); }

 private:
  wchar_t previous_[MAX_PATH] = {};
};

}  // namespace

TEST(WnLibrary, LoadedByNameGivesTypedEntryPoints) {
  WnLibrary kernel(L"kernel32");
  ASSERT_TRUE(kernel.IsLoaded());
  const auto getProcessId = kernel.GetProc<decltype(&GetCurrentProcessId)>("GetCurrentProcessId");
  ASSERT_NE(nullptr, getProcessId);
  EXPECT_EQ(GetCurrentProcessId(), getProcessId());
}

TEST(WnLibrary, MissingLibraryFailsWithModuleNotFound) {
  WnLibrary library;
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), library.Load(L"no-such-library-4711.dll"));
  EXPECT_FALSE(library.IsLoaded());
  EXPECT_EQ(nullptr, library.GetProc<FARPROC>("Anything"));
}

TEST(WnLibrary, MissingEntryPointIsNull) {
  WnLibrary kernel(L"kernel32");
  ASSERT_TRUE(kernel.IsLoaded());
  EXPECT_EQ(nullptr, kernel.GetProc<FARPROC>("NoSuchFunction4711"));
}

TEST(WnLibrary, DestructionUnloadsTheLibrary) {
  ASSERT_EQ(nullptr, GetModuleHandleW(L"cabinet.dll")) << "the test needs a library not in use";
  {
    WnLibrary cabinet;
    ASSERT_EQ(0u, cabinet.Load(L"cabinet.dll"));
    EXPECT_EQ(cabinet.Handle(), GetModuleHandleW(L"cabinet.dll"));
  }
  EXPECT_EQ(nullptr, GetModuleHandleW(L"cabinet.dll"));
}

TEST(WnLibrary, FreeClearsTheHandle) {
  WnLibrary cabinet;
  ASSERT_EQ(0u, cabinet.Load(L"cabinet.dll"));
  cabinet.Free();
  EXPECT_FALSE(cabinet.IsLoaded());
  EXPECT_EQ(nullptr, cabinet.Handle());
  EXPECT_EQ(nullptr, GetModuleHandleW(L"cabinet.dll"));
  cabinet.Free();  // a second free is harmless
  EXPECT_FALSE(cabinet.IsLoaded());
}

TEST(WnLibrary, SystemFolderLoadTakesTheSystemCopy) {
  WnLibrary dbghelp;
  ASSERT_EQ(0u, dbghelp.LoadFromSystemFolder(L"DBGHELP.DLL"));
  EXPECT_TRUE(SameText(SystemFolder(), FolderOf(ModulePath(dbghelp.Handle()))))
      << ModulePath(dbghelp.Handle());
  EXPECT_NE(nullptr, dbghelp.GetProc<FARPROC>("MiniDumpWriteDump"));
}

TEST(WnLibrary, SystemFolderPathFallbackTakesTheSystemCopy) {
  WnLibrary dbghelp;
  ASSERT_EQ(0u, dbghelp.LoadBySystemFolderPath(L"dbghelp.dll"));
  EXPECT_TRUE(SameText(SystemFolder() + L"\\dbghelp.dll", ModulePath(dbghelp.Handle())))
      << ModulePath(dbghelp.Handle());
}

TEST(WnLibrary, SystemFolderLoadIgnoresTheCurrentFolder) {
  const std::wstring marker = PlantedFolder() + L"\\dbghelp.dll.loaded";
  ASSERT_TRUE(FileExists(PlantedFolder() + L"\\dbghelp.dll"));
  DeleteFileW(marker.c_str());
  CurrentFolderScope scope(PlantedFolder());
  WnLibrary dbghelp;
  ASSERT_EQ(0u, dbghelp.LoadFromSystemFolder(L"dbghelp.dll"));
  EXPECT_TRUE(SameText(SystemFolder(), FolderOf(ModulePath(dbghelp.Handle()))));
  EXPECT_FALSE(FileExists(marker));
}

TEST(WnLibrary, SystemFolderLoadRefusesPaths) {
  WnLibrary library;
  for (const wchar_t* name : {L"..\\dbghelp.dll", L"planted/dbghelp.dll", L"C:dbghelp.dll",
                              L"C:\\windows\\system32\\dbghelp.dll", L""}) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), library.LoadFromSystemFolder(name))
        << name;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), library.LoadBySystemFolderPath(name))
        << name;
    EXPECT_FALSE(library.IsLoaded());
  }
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), library.LoadFromSystemFolder(nullptr));
}

TEST(WnLibrary, LibraryOutsideTheSystemFolderIsNotFoundThere) {
  WnLibrary library;
  CurrentFolderScope scope(PlantedFolder());
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND),
            library.LoadFromSystemFolder(L"crashprobe.exe"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND),
            library.LoadBySystemFolderPath(L"crashprobe.exe"));
  EXPECT_FALSE(library.IsLoaded());
}
