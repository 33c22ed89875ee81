// The package tool: the configuration resource replaced, removed or kept, every other resource
// kept, the archive appended as the exact tail of the package, and every failure reported in
// one line with nothing left behind. The packed probe reports what its own image carries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "UiDriver.h"
#include "VTStringConv.h"

namespace {

constexpr DWORD kRunTimeoutMs = 30000;
constexpr char kConfigLabel[] = "rcdata-222";
// FindResourceExW's answer for an image without any RCDATA: the stub then takes its defaults.
constexpr char kNoRcDataAnswer[] = "error 1813";

struct ToolResult {
  uint32_t exitCode = 0;
  std::string errorText;
  std::string outputText;
};

using ProbeReport = std::map<std::string, std::string>;

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

// Bytes that look like a 7z archive and cover every byte value, longer than one copy chunk.
std::string SampleArchive(size_t size) {
  std::string bytes("7z\xBC\xAF\x27\x1C", 6);
  for (size_t i = 0; bytes.size() < size; ++i) bytes += static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

// Where the image ends: after its headers, the last section's raw data, and the COFF symbol
// table with its string table, which unstripped MinGW images carry at their very end.
size_t ImageEnd(const std::string& image) {
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, image.data(), sizeof(dos));
  IMAGE_NT_HEADERS32 nt;
  std::memcpy(&nt, image.data() + dos.e_lfanew, sizeof(nt));
  const size_t sections = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                          nt.FileHeader.SizeOfOptionalHeader;
  size_t end = nt.OptionalHeader.SizeOfHeaders;
  for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER section;
    std::memcpy(&section, image.data() + sections + i * sizeof(section), sizeof(section));
    end = std::max<size_t>(end, section.PointerToRawData + section.SizeOfRawData);
  }
  if (nt.FileHeader.PointerToSymbolTable != 0) {
    const size_t strings = nt.FileHeader.PointerToSymbolTable +
                           size_t{nt.FileHeader.NumberOfSymbols} * IMAGE_SIZEOF_SYMBOL;
    uint32_t stringsSize = 0;
    std::memcpy(&stringsSize, image.data() + strings, sizeof(stringsSize));
    end = std::max<size_t>(end, strings + stringsSize);
  }
  return end;
}

class SfxPack : public ::testing::Test {
 protected:
  std::wstring Stub() const { return uitest::WindowsPathOf(RESPROBE_EXE); }
  std::wstring Scratch(const wchar_t* name) const { return folder_.File(name); }

  std::wstring WriteScratch(const wchar_t* name, const std::string& bytes) {
    const std::wstring path = Scratch(name);
    EXPECT_TRUE(uitest::WriteFileBytes(path, bytes));
    return path;
  }

  ToolResult RunTool(const std::vector<std::wstring>& arguments) {
    uitest::StartOptions options;
    options.standardOutputFile = Scratch(L"tool-output.txt");
    options.standardErrorFile = Scratch(L"tool-error.txt");
    ToolResult result;
    {
      uitest::Process tool;
      EXPECT_EQ(0u, tool.Start(uitest::WindowsPathOf(SFXPACK_EXE), uitest::JoinArguments(arguments),
                               options));
      EXPECT_TRUE(tool.WaitForExit(kRunTimeoutMs));
      result.exitCode = tool.ExitCode();
    }
    uitest::ReadFileBytes(options.standardErrorFile, result.errorText);
    uitest::ReadFileBytes(options.standardOutputFile, result.outputText);
    DeleteFileW(options.standardOutputFile.c_str());
    DeleteFileW(options.standardErrorFile.c_str());
    return result;
  }

  // Runs an image of the probe and reads its report.
  ProbeReport RunProbe(const std::wstring& image) {
    const std::wstring reportPath = Scratch(L"report.txt");
    uitest::Process probe;
    EXPECT_EQ(0u, probe.Start(image, uitest::QuoteArgument(reportPath)));
    EXPECT_TRUE(probe.WaitForExit(kRunTimeoutMs));
    EXPECT_EQ(0u, probe.ExitCode());
    std::string text;
    uitest::ReadFileBytes(reportPath, text);
    DeleteFileW(reportPath.c_str());
    ProbeReport report;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      const std::string line = text.substr(start, end - start);
      const size_t equals = line.find('=');
      report[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return report;
  }

  // The probe's report with the configuration entry replaced.
  ProbeReport OriginalReportWithConfig(const std::string& configAnswer) {
    ProbeReport report = RunProbe(Stub());
    report[kConfigLabel] = configAnswer;
    return report;
  }

  std::string ReadScratch(const wchar_t* name) const {
    std::string bytes;
    EXPECT_TRUE(uitest::ReadFileBytes(Scratch(name), bytes));
    return bytes;
  }

  std::string StubBytes() const {
    std::string bytes;
    EXPECT_TRUE(uitest::ReadFileBytes(Stub(), bytes));
    return bytes;
  }

  std::vector<std::wstring> ScratchFiles() const { return uitest::ListFolder(folder_.Path()); }

  uitest::ScratchFolder folder_;
};

// UTF-8 with a byte order mark, CRLF line ends and no final line end: kept byte for byte.
const std::string kDocument =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<SelfExtractor FormatVersionMajor=\"2\" FormatVersionMinor=\"0\">"
    "<Title>Pr\xC3\xBC"
    "fung \xE2\x82\xAC</Title></SelfExtractor>";

}  // namespace

// --- Configuration resource

TEST_F(SfxPack, ConfigOptionStoresTheDocumentBytesUnchanged) {
  const std::wstring document = WriteScratch(L"doc.xml", kDocument);
  const ToolResult result =
      RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"), L"--config", document});
  ASSERT_EQ(0u, result.exitCode) << result.errorText;
  EXPECT_EQ("", result.errorText);
  EXPECT_EQ(OriginalReportWithConfig(Hex(kDocument)), RunProbe(Scratch(L"package.exe")));
}

TEST_F(SfxPack, NoConfigRemovesTheConfigurationAndKeepsEveryOtherResource) {
  const ToolResult result =
      RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"), L"--no-config"});
  ASSERT_EQ(0u, result.exitCode) << result.errorText;
  const ProbeReport report = RunProbe(Scratch(L"package.exe"));
  EXPECT_EQ(kNoRcDataAnswer, report.at(kConfigLabel));
  EXPECT_EQ(OriginalReportWithConfig(kNoRcDataAnswer), report);
}

TEST_F(SfxPack, RemovingAConfigurationThatIsAlreadyGoneSucceeds) {
  ASSERT_EQ(0u,
            RunTool({L"--stub", Stub(), L"--out", Scratch(L"first.exe"), L"--no-config"}).exitCode);
  const ToolResult result =
      RunTool({L"--stub", Scratch(L"first.exe"), L"--out", Scratch(L"second.exe"), L"--no-config"});
  ASSERT_EQ(0u, result.exitCode) << result.errorText;
  EXPECT_EQ(OriginalReportWithConfig(kNoRcDataAnswer), RunProbe(Scratch(L"second.exe")));
}

TEST_F(SfxPack, ConfigCanBeStoredAgainAfterItWasRemoved) {
  const std::wstring document = WriteScratch(L"doc.xml", kDocument);
  ASSERT_EQ(0u,
            RunTool({L"--stub", Stub(), L"--out", Scratch(L"bare.exe"), L"--no-config"}).exitCode);
  const ToolResult result = RunTool(
      {L"--stub", Scratch(L"bare.exe"), L"--out", Scratch(L"package.exe"), L"--config", document});
  ASSERT_EQ(0u, result.exitCode) << result.errorText;
  EXPECT_EQ(OriginalReportWithConfig(Hex(kDocument)), RunProbe(Scratch(L"package.exe")));
}

TEST_F(SfxPack, KeepConfigCopiesTheStubUnchanged) {
  const ToolResult result =
      RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"), L"--keep-config"});
  ASSERT_EQ(0u, result.exitCode) << result.errorText;
  EXPECT_EQ(StubBytes(), ReadScratch(L"package.exe"));
  EXPECT_EQ(RunProbe(Stub()), RunProbe(Scratch(L"package.exe")));
}

TEST_F(SfxPack, WithoutAConfigOptionTheStubsConfigurationIsKept) {
  const std::string archive = SampleArchive(1000);
  const std::wstring archivePath = WriteScratch(L"payload.7z", archive);
  const ToolResult result =
      RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"), L"--archive", archivePath});
  ASSERT_EQ(0u, result.exitCode) << result.errorText;
  EXPECT_EQ(StubBytes() + archive, ReadScratch(L"package.exe"));
  EXPECT_EQ(RunProbe(Stub()), RunProbe(Scratch(L"package.exe")));
}

// --- Archive

TEST_F(SfxPack, ArchiveBytesDirectlyFollowTheImageWithANewConfiguration) {
  const std::string archive = SampleArchive(2'500'000);
  const std::wstring archivePath = WriteScratch(L"payload.7z", archive);
  const std::wstring document = WriteScratch(L"doc.xml", kDocument);
  const ToolResult result = RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"),
                                     L"--config", document, L"--archive", archivePath});
  ASSERT_EQ(0u, result.exitCode) << result.errorText;
  const std::string package = ReadScratch(L"package.exe");
  ASSERT_GT(package.size(), archive.size());
  EXPECT_EQ(ImageEnd(package), package.size() - archive.size());
  EXPECT_TRUE(package.compare(package.size() - archive.size(), archive.size(), archive) == 0);
  // The image in front of the archive still runs and carries the new document.
  EXPECT_EQ(OriginalReportWithConfig(Hex(kDocument)), RunProbe(Scratch(L"package.exe")));
}

TEST_F(SfxPack, ArchiveBytesDirectlyFollowTheImageWithoutConfiguration) {
  const std::string archive = SampleArchive(70'000);
  const std::wstring archivePath = WriteScratch(L"payload.7z", archive);
  const ToolResult result = RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"),
                                     L"--no-config", L"--archive", archivePath});
  ASSERT_EQ(0u, result.exitCode) << result.errorText;
  const std::string package = ReadScratch(L"package.exe");
  ASSERT_GT(package.size(), archive.size());
  EXPECT_EQ(ImageEnd(package), package.size() - archive.size());
  EXPECT_TRUE(package.compare(package.size() - archive.size(), archive.size(), archive) == 0);
  EXPECT_EQ(OriginalReportWithConfig(kNoRcDataAnswer), RunProbe(Scratch(L"package.exe")));
}

TEST_F(SfxPack, WithoutArchiveNothingFollowsTheImage) {
  const std::wstring document = WriteScratch(L"doc.xml", kDocument);
  const ToolResult result =
      RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"), L"--config", document});
  ASSERT_EQ(0u, result.exitCode) << result.errorText;
  const std::string package = ReadScratch(L"package.exe");
  EXPECT_EQ(ImageEnd(package), package.size());
}

TEST_F(SfxPack, AnExistingOutputIsReplaced) {
  WriteScratch(L"package.exe", std::string(5'000'000, 'x'));
  const std::string archive = SampleArchive(100);
  const std::wstring archivePath = WriteScratch(L"payload.7z", archive);
  const ToolResult result =
      RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"), L"--archive", archivePath});
  ASSERT_EQ(0u, result.exitCode) << result.errorText;
  EXPECT_EQ(StubBytes() + archive, ReadScratch(L"package.exe"));
}

// --- Failures: one line naming the file and the Windows error, non-zero exit, no output

TEST_F(SfxPack, MissingStubFailsNamingItAndWritesNothing) {
  const std::wstring stub = Scratch(L"no-such-stub.exe");
  const ToolResult result = RunTool({L"--stub", stub, L"--out", Scratch(L"package.exe")});
  EXPECT_NE(0u, result.exitCode);
  EXPECT_NE(std::string::npos, result.errorText.find(veltrano::WideToUtf8(stub.c_str()) + "\": "));
  EXPECT_NE(std::string::npos, result.errorText.find("(error 2)"));
  EXPECT_EQ(1, std::count(result.errorText.begin(), result.errorText.end(), '\n'));
  EXPECT_TRUE(ScratchFiles().empty());
}

TEST_F(SfxPack, MissingArchiveFailsNamingItAndWritesNothing) {
  const std::wstring archive = Scratch(L"no-such-payload.7z");
  const ToolResult result =
      RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"), L"--archive", archive});
  EXPECT_NE(0u, result.exitCode);
  EXPECT_NE(std::string::npos, result.errorText.find(veltrano::WideToUtf8(archive.c_str())));
  EXPECT_NE(std::string::npos, result.errorText.find("(error 2)"));
  EXPECT_TRUE(ScratchFiles().empty());
}

TEST_F(SfxPack, MissingDocumentFailsNamingItAndWritesNothing) {
  const std::wstring document = Scratch(L"no-such-doc.xml");
  const ToolResult result =
      RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"), L"--config", document});
  EXPECT_NE(0u, result.exitCode);
  EXPECT_NE(std::string::npos, result.errorText.find(veltrano::WideToUtf8(document.c_str())));
  EXPECT_TRUE(ScratchFiles().empty());
}

TEST_F(SfxPack, EmptyDocumentIsRefusedWithoutOutput) {
  const std::wstring document = WriteScratch(L"empty.xml", "");
  const ToolResult result =
      RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"), L"--config", document});
  EXPECT_NE(0u, result.exitCode);
  EXPECT_NE(std::string::npos, result.errorText.find(veltrano::WideToUtf8(document.c_str())));
  EXPECT_EQ(std::vector<std::wstring>{L"empty.xml"}, ScratchFiles());
}

TEST_F(SfxPack, OutputInAMissingFolderFailsNamingIt) {
  const std::wstring output = Scratch(L"no-such-folder\\package.exe");
  const ToolResult result = RunTool({L"--stub", Stub(), L"--out", output});
  EXPECT_NE(0u, result.exitCode);
  EXPECT_NE(std::string::npos, result.errorText.find(veltrano::WideToUtf8(output.c_str())));
  EXPECT_NE(std::string::npos, result.errorText.find("(error 3)"));
  EXPECT_TRUE(ScratchFiles().empty());
}

TEST_F(SfxPack, OutputThatIsAFolderFailsAndLeavesNoFileBehind) {
  const std::wstring output = Scratch(L"package.exe");
  ASSERT_TRUE(CreateDirectoryW(output.c_str(), nullptr));
  const std::wstring archivePath = WriteScratch(L"payload.7z", SampleArchive(1000));
  const ToolResult result =
      RunTool({L"--stub", Stub(), L"--out", output, L"--archive", archivePath});
  EXPECT_NE(0u, result.exitCode);
  EXPECT_NE(std::string::npos, result.errorText.find(veltrano::WideToUtf8(output.c_str())));
  EXPECT_EQ((std::vector<std::wstring>{L"package.exe", L"payload.7z"}), ScratchFiles());
  EXPECT_TRUE(uitest::ListFolder(output).empty());
}

TEST_F(SfxPack, FailedRunLeavesAnExistingOutputAsItWas) {
  const std::string previous = "the package of an earlier run";
  WriteScratch(L"package.exe", previous);
  const ToolResult result = RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"),
                                     L"--archive", Scratch(L"no-such-payload.7z")});
  EXPECT_NE(0u, result.exitCode);
  EXPECT_EQ(previous, ReadScratch(L"package.exe"));
  EXPECT_EQ(std::vector<std::wstring>{L"package.exe"}, ScratchFiles());
}

TEST_F(SfxPack, StubThatIsNoExecutableFailsWithoutOutput) {
  const std::wstring stub = WriteScratch(L"not-a-stub.exe", "just text, no image");
  const std::wstring document = WriteScratch(L"doc.xml", kDocument);
  for (const wchar_t* option : {L"--config", L"--no-config"}) {
    std::vector<std::wstring> arguments{L"--stub", stub, L"--out", Scratch(L"package.exe"), option};
    if (std::wstring(option) == L"--config") arguments.push_back(document);
    const ToolResult result = RunTool(arguments);
    EXPECT_NE(0u, result.exitCode) << veltrano::WideToUtf8(option);
    EXPECT_NE(std::string::npos, result.errorText.find("sfxpack: "));
    EXPECT_EQ((std::vector<std::wstring>{L"doc.xml", L"not-a-stub.exe"}), ScratchFiles());
  }
}

// --- Command line

TEST_F(SfxPack, ConflictingConfigOptionsAreRejectedWithoutOutput) {
  const std::wstring document = WriteScratch(L"doc.xml", kDocument);
  const ToolResult result = RunTool({L"--stub", Stub(), L"--out", Scratch(L"package.exe"),
                                     L"--config", document, L"--no-config"});
  EXPECT_EQ(2u, result.exitCode);
  EXPECT_NE(std::string::npos, result.errorText.find("Usage: sfxpack.exe"));
  EXPECT_EQ(std::vector<std::wstring>{L"doc.xml"}, ScratchFiles());
}

TEST_F(SfxPack, MissingOutputOptionIsRejected) {
  const ToolResult result = RunTool({L"--stub", Stub()});
  EXPECT_EQ(2u, result.exitCode);
  EXPECT_NE(std::string::npos, result.errorText.find("out"));
  EXPECT_TRUE(ScratchFiles().empty());
}

TEST_F(SfxPack, HelpDescribesEveryOption) {
  const ToolResult result = RunTool({L"--help"});
  EXPECT_EQ(0u, result.exitCode);
  for (const char* option :
       {"--stub", "--out", "--config", "--no-config", "--keep-config", "--archive"}) {
    EXPECT_NE(std::string::npos, result.outputText.find(option)) << option;
  }
}
