// A real crash: the probe program, beside a planted dbghelp.dll, installs the crash handler
// twice and dereferences a null pointer; the tests look at the exit code, the folder and the
// dump. Wine writes a full dump slowly, so one crash serves every check of the suite.
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

std::wstring ProbePath() {
  std::wstring path = Widen(CRASHPROBE_EXE);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::wstring PlantedFolder() { return FolderOf(ProbePath()); }

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

// One crash of the probe: installed twice, beside the planted library, into a temporary folder
// that holds a dump left by an earlier crash in every second the probe may crash in.
class CrashDump : public ::testing::Test {
 protected:
  static constexpr int kStaleSeconds = 180;  // longer than a probe may run

  static void SetUpTestSuite() {
    root_ = new TestFolder;
    temp_ = root_->Sub(L"temp");
    CreateDirectoryW(temp_.c_str(), nullptr);
    GetLocalTime(&before_);
    for (int second = 0; second < kStaleSeconds; ++second) {
      WriteTextFile(temp_ + L"\\" + DumpNameAt(kProbeName, AddSeconds(before_, second)), kStale);
    }
    wchar_t localAppData[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, localAppData, CSIDL_LOCAL_APPDATA, FALSE);
    secondFolder_ = std::wstring(localAppData) + L"\\" + kSecondProbeFolder;
    secondFolderBefore_ = FolderExists(secondFolder_);
    PlantMarker marker;
    LibraryBesideTheProgramFirst trap;
    run_ = Crash(ProbePath(), temp_, PlantedFolder(), true);
    plantedLoaded_ = marker.Exists();
  }
  static void TearDownTestSuite() {
    if (!secondFolderBefore_) RemoveTree(secondFolder_);
    delete root_;
    root_ = nullptr;
  }

  // The files of the temporary folder that are not an earlier crash's.
  static std::vector<std::wstring> NewFiles() {
    std::vector<std::wstring> fresh;
    for (const std::wstring& name : FileNames(temp_, L"*")) {
      if (ReadFileStart(temp_ + L"\\" + name, kStale.size()) != kStale) fresh.push_back(name);
    }
    return fresh;
  }

  static const std::string kStale;
  static TestFolder* root_;
  static std::wstring temp_;
  static std::wstring secondFolder_;
  static bool secondFolderBefore_;
  static SYSTEMTIME before_;
  static ChildRun run_;
  static bool plantedLoaded_;
};

const std::string CrashDump::kStale = "an earlier crash's dump";
TestFolder* CrashDump::root_ = nullptr;
std::wstring CrashDump::temp_;
std::wstring CrashDump::secondFolder_;
bool CrashDump::secondFolderBefore_ = false;
SYSTEMTIME CrashDump::before_ = {};
ChildRun CrashDump::run_;
bool CrashDump::plantedLoaded_ = false;

}  // namespace

TEST_F(CrashDump, ProbeEndsWithTheAccessViolation) {
  ASSERT_EQ(0u, run_.error);
  // Any other exit code is the probe's report that a step before the crash went wrong, such
  // as a second installation that did not answer "already installed" or changed the settings.
  EXPECT_EQ(static_cast<DWORD>(STATUS_ACCESS_VIOLATION), run_.exitCode);
  ASSERT_LT(SecondsOf(run_.ended) - SecondsOf(before_),
            static_cast<unsigned long long>(kStaleSeconds))
      << "the probe ran longer than the prepared seconds";
}

TEST_F(CrashDump, DumpOfTheSameSecondIsReplacedByAFullDumpOfTheCrash) {
  EXPECT_EQ(static_cast<size_t>(kStaleSeconds), FileNames(temp_, L"*").size())
      << "no new file beside the old ones";
  const std::vector<std::wstring> replaced = NewFiles();
  ASSERT_EQ(1u, replaced.size());
  SYSTEMTIME dumpTime;
  ASSERT_TRUE(ParseDumpName(replaced[0], kProbeName, dumpTime)) << replaced[0];
  EXPECT_TRUE(IsInWindow(dumpTime, run_));
  EXPECT_TRUE(IsFullDumpOfTheCrash(temp_ + L"\\" + replaced[0], run_.processId));
}

TEST_F(CrashDump, SecondInstallationChangesNothing) {
  EXPECT_FALSE(!secondFolderBefore_ && FolderExists(secondFolder_));
  for (const std::wstring& name : NewFiles()) {
    SYSTEMTIME dumpTime;
    EXPECT_TRUE(ParseDumpName(name, kProbeName, dumpTime)) << name;
  }
}

TEST_F(CrashDump, PlantedLibraryBesideTheProgramIsNeverLoaded) { EXPECT_FALSE(plantedLoaded_); }

TEST(CrashProbe, PlantedLibraryIsWhatALoadByNameWouldTake) {
  // Shows that the planted library is a real trap: the normal search order finds it.
  PlantMarker marker;
  LibraryBesideTheProgramFirst trap;
  TestFolder root;
  const ChildRun run =
      RunChild(ProbePath(), Widen(kLoadByNameSwitch) + L" dbghelp.dll", root.Path(),
               PlantedFolder());
  ASSERT_EQ(0u, run.error);
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(marker.Exists());
}
