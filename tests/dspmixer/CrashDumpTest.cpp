// Real crashes: the test executable starts itself again as a child that installs the crash
// handler and dereferences a null pointer; the tests look at the exit code and the dump.
#include <gtest/gtest.h>

#include <windows.h>

#include <dbghelp.h>
#include <shlobj.h>

#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "CrashProbe.h"
#include "CrashTestSupport.h"

namespace {

constexpr unsigned long long kFullDumpMinimumSize = 1 << 20;

std::wstring Widen(const char* text) { return std::wstring(text, text + strlen(text)); }

// "<prefix>_YYYYMMDDhhmmss.dmp" gives the time of its name.
bool ParseDumpName(const std::wstring& name, const std::wstring& prefix, SYSTEMTIME& time) {
  const std::wstring head = prefix + L"_";
  const size_t digits = 14;
  if (name.size() != head.size() + digits + 4 || name.compare(0, head.size(), head) != 0 ||
      name.compare(head.size() + digits, 4, L".dmp") != 0) {
    return false;
  }
  for (size_t i = 0; i < digits; ++i) {
    if (!iswdigit(name[head.size() + i])) return false;
  }
  const auto field = [&](size_t offset, size_t length) {
    return static_cast<WORD>(std::stoi(name.substr(head.size() + offset, length)));
  };
  time = SYSTEMTIME{};
  time.wYear = field(0, 4);
  time.wMonth = field(4, 2);
  time.wDay = field(6, 2);
  time.wHour = field(8, 2);
  time.wMinute = field(10, 2);
  time.wSecond = field(12, 2);
  return true;
}

std::wstring DumpNameAt(const std::wstring& prefix, const SYSTEMTIME& time) {
  wchar_t name[64];
  swprintf(name, 64, L"_%04u%02u%02u%02u%02u%02u.dmp", time.wYear, time.wMonth, time.wDay,
           time.wHour, time.wMinute, time.wSecond);
  return prefix + name;
}

SYSTEMTIME AddSeconds(const SYSTEMTIME& time, int seconds) {
  FILETIME stamp;
  SystemTimeToFileTime(&time, &stamp);
  ULARGE_INTEGER value;
  value.LowPart = stamp.dwLowDateTime;
  value.HighPart = stamp.dwHighDateTime;
  value.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ull;
  stamp.dwLowDateTime = value.LowPart;
  stamp.dwHighDateTime = value.HighPart;
  SYSTEMTIME result;
  FileTimeToSystemTime(&stamp, &result);
  return result;
}

::testing::AssertionResult IsInWindow(const SYSTEMTIME& time, const ChildRun& run) {
  const unsigned long long at = SecondsOf(time);
  if (SecondsOf(run.started) <= at && at <= SecondsOf(run.ended)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "dump time outside the child's run";
}

template <typename Record>
bool ReadRecord(const std::wstring& path, unsigned long long offset, Record& record) {
  const std::string bytes = ReadFileRange(path, offset, sizeof record);
  if (bytes.size() != sizeof record) return false;
  memcpy(&record, bytes.data(), sizeof record);
  return true;
}

// The exception code that a minidump's exception stream records, or 0 without one.
DWORD RecordedExceptionCode(const std::wstring& path) {
  MINIDUMP_HEADER header;
  if (!ReadRecord(path, 0, header)) return 0;
  for (ULONG32 index = 0; index < header.NumberOfStreams; ++index) {
    MINIDUMP_DIRECTORY entry;
    if (!ReadRecord(path, header.StreamDirectoryRva + index * sizeof entry, entry)) return 0;
    if (entry.StreamType != ExceptionStream) continue;
    MINIDUMP_EXCEPTION_STREAM stream;
    if (!ReadRecord(path, entry.Location.Rva, stream)) return 0;
    return stream.ExceptionRecord.ExceptionCode;
  }
  return 0;
}

// A minidump of the child `processId`'s access violation, with the child's memory and not
// just its stacks.
::testing::AssertionResult IsFullDumpOfTheCrash(const std::wstring& path, DWORD processId) {
  if (ReadFileStart(path, 4) != "MDMP") {
    return ::testing::AssertionFailure() << "no minidump signature";
  }
  const DWORD exceptionCode = RecordedExceptionCode(path);
  if (exceptionCode != STATUS_ACCESS_VIOLATION) {
    return ::testing::AssertionFailure() << "recorded exception 0x" << std::hex << exceptionCode;
  }
  const unsigned long long size = FileSize(path);
  if (size < kFullDumpMinimumSize) {
    return ::testing::AssertionFailure() << "only " << size << " bytes";
  }
  if (!FileContains(path, MemoryMarkerOf(processId))) {
    return ::testing::AssertionFailure() << "the child's heap memory is missing";
  }
  return ::testing::AssertionSuccess() << size << " bytes";
}

ChildRun Crash(const std::wstring& exe, const std::wstring& tempFolder,
               const std::wstring& currentFolder, bool installTwice = false) {
  std::wstring arguments = Widen(kCrashSwitch);
  if (installTwice) arguments += L" " + Widen(kInstallTwiceSwitch);
  return RunChild(exe, arguments, tempFolder, currentFolder);
}

std::wstring PlantedFolder() { return FolderOf(ExecutablePath()) + L"\\planted"; }

// Windows takes a library beside the program before the system's copy; Wine prefers its
// built-in copy unless a program's settings say otherwise. Said for the copy of the test
// executable only, Wine sets the same trap as Windows.
class LibraryBesideTheProgramFirst {
 public:
  LibraryBesideTheProgramFirst() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return;
    }
    static const wchar_t kOrder[] = L"native,builtin";
    RegSetValueExW(key, L"dbghelp", 0, REG_SZ, reinterpret_cast<const BYTE*>(kOrder),
                   sizeof kOrder);
    RegCloseKey(key);
  }
  ~LibraryBesideTheProgramFirst() { RegDeleteTreeW(HKEY_CURRENT_USER, kProgramSettings); }

 private:
  static constexpr wchar_t kProgramSettings[] = L"Software\\Wine\\AppDefaults\\crashprobe.exe";
  static constexpr wchar_t kOverrides[] =
      L"Software\\Wine\\AppDefaults\\crashprobe.exe\\DllOverrides";
};

// The planted library's marker file, absent before and after a test.
class PlantMarker {
 public:
  PlantMarker() : path_(PlantedFolder() + L"\\dbghelp.dll.loaded") { DeleteFileW(path_.c_str()); }
  ~PlantMarker() { DeleteFileW(path_.c_str()); }
  bool Exists() const { return FileExists(path_); }

 private:
  std::wstring path_;
};

}  // namespace

TEST(CrashDump, CrashWritesAFullDumpIntoTheNewlyCreatedTempFolder) {
  TestFolder root;
  const std::wstring temp = root.Sub(L"not\\yet\\there");
  ASSERT_FALSE(FolderExists(root.Sub(L"not")));

  const ChildRun run = Crash(ExecutablePath(), temp, FolderOf(ExecutablePath()));

  ASSERT_EQ(0u, run.error);
  EXPECT_EQ(static_cast<DWORD>(STATUS_ACCESS_VIOLATION), run.exitCode);
  ASSERT_TRUE(FolderExists(temp));
  const std::vector<std::wstring> files = FileNames(temp, L"*");
  ASSERT_EQ(1u, files.size());
  SYSTEMTIME dumpTime;
  ASSERT_TRUE(ParseDumpName(files[0], kProbeName, dumpTime)) << files[0];
  EXPECT_TRUE(IsInWindow(dumpTime, run));
  EXPECT_TRUE(IsFullDumpOfTheCrash(temp + L"\\" + files[0], run.processId));
}

TEST(CrashDump, SecondInstallationChangesNothing) {
  TestFolder root;
  const std::wstring temp = root.Sub(L"temp");
  wchar_t localAppData[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, localAppData, CSIDL_LOCAL_APPDATA, FALSE));
  const std::wstring secondFolder = std::wstring(localAppData) + L"\\" + kSecondProbeFolder;
  ASSERT_FALSE(FolderExists(secondFolder));

  const ChildRun run = Crash(ExecutablePath(), temp, FolderOf(ExecutablePath()), true);

  ASSERT_EQ(0u, run.error);
  // Any other exit code is the child's report that the second call returned something other
  // than "already installed" or changed the settings.
  EXPECT_EQ(static_cast<DWORD>(STATUS_ACCESS_VIOLATION), run.exitCode);
  const std::vector<std::wstring> files = FileNames(temp, L"*");
  ASSERT_EQ(1u, files.size());
  SYSTEMTIME dumpTime;
  EXPECT_TRUE(ParseDumpName(files[0], kProbeName, dumpTime)) << files[0];
  EXPECT_FALSE(FolderExists(secondFolder));
  RemoveTree(secondFolder);
}

TEST(CrashDump, DumpOfTheSameSecondIsReplaced) {
  TestFolder root;
  const std::wstring temp = root.Sub(L"temp");
  ASSERT_TRUE(CreateDirectoryW(temp.c_str(), nullptr));
  // A dump left by an earlier crash in every second the child may crash in.
  SYSTEMTIME now;
  GetLocalTime(&now);
  const int kSeconds = 180;  // longer than a child may run
  const std::string kStale = "an earlier crash's dump";
  for (int second = 0; second < kSeconds; ++second) {
    ASSERT_TRUE(
        WriteTextFile(temp + L"\\" + DumpNameAt(kProbeName, AddSeconds(now, second)), kStale));
  }

  const ChildRun run = Crash(ExecutablePath(), temp, FolderOf(ExecutablePath()));

  ASSERT_EQ(0u, run.error);
  EXPECT_EQ(static_cast<DWORD>(STATUS_ACCESS_VIOLATION), run.exitCode);
  ASSERT_LT(SecondsOf(run.ended) - SecondsOf(now), static_cast<unsigned long long>(kSeconds))
      << "the child ran longer than the prepared seconds";
  const std::vector<std::wstring> files = FileNames(temp, L"*");
  EXPECT_EQ(static_cast<size_t>(kSeconds), files.size()) << "no new file beside the old ones";
  std::vector<std::wstring> replaced;
  for (const std::wstring& name : files) {
    if (ReadFileStart(temp + L"\\" + name, kStale.size()) != kStale) replaced.push_back(name);
  }
  ASSERT_EQ(1u, replaced.size());
  SYSTEMTIME dumpTime;
  ASSERT_TRUE(ParseDumpName(replaced[0], kProbeName, dumpTime));
  EXPECT_TRUE(IsInWindow(dumpTime, run));
  EXPECT_TRUE(IsFullDumpOfTheCrash(temp + L"\\" + replaced[0], run.processId));
}

TEST(CrashDump, PlantedLibraryIsWhatALoadByNameWouldTake) {
  // Shows that the planted library below is a real trap: the normal search order finds it.
  PlantMarker marker;
  LibraryBesideTheProgramFirst trap;
  TestFolder root;
  const ChildRun run =
      RunChild(PlantedFolder() + L"\\crashprobe.exe", Widen(kLoadByNameSwitch) + L" dbghelp.dll",
               root.Path(), PlantedFolder());
  ASSERT_EQ(0u, run.error);
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(marker.Exists());
}

TEST(CrashDump, PlantedLibraryBesideTheProgramIsNeverLoaded) {
  PlantMarker marker;
  LibraryBesideTheProgramFirst trap;
  TestFolder root;
  const std::wstring temp = root.Sub(L"temp");

  const ChildRun run = Crash(PlantedFolder() + L"\\crashprobe.exe", temp, PlantedFolder());

  ASSERT_EQ(0u, run.error);
  EXPECT_EQ(static_cast<DWORD>(STATUS_ACCESS_VIOLATION), run.exitCode);
  EXPECT_FALSE(marker.Exists());
  const std::vector<std::wstring> files = FileNames(temp, L"*");
  ASSERT_EQ(1u, files.size());
  EXPECT_TRUE(IsFullDumpOfTheCrash(temp + L"\\" + files[0], run.processId));
}
