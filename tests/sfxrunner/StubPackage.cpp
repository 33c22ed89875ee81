#include "StubPackage.h"

#include <gtest/gtest.h>

std::wstring MakePackage(const uitest::ScratchFolder& folder, const wchar_t* name,
                         const char* config, const std::wstring& archive) {
  const std::wstring package = folder.File(name);
  std::wstring args = L"--stub " + uitest::QuoteArgument(BuildFile(SFXRUNNER_EXE)) + L" --out " +
                      uitest::QuoteArgument(package);
  if (config == nullptr) {
    args += L" --keep-config";
  } else if (*config == '\0') {
    args += L" --no-config";
  } else {
    const std::wstring doc = folder.File(std::wstring(name) + L".xml");
    EXPECT_TRUE(uitest::WriteFileBytes(doc, config));
    args += L" --config " + uitest::QuoteArgument(doc);
  }
  if (!archive.empty()) args += L" --archive " + uitest::QuoteArgument(archive);
  uitest::Process tool;
  EXPECT_EQ(0u, tool.Start(BuildFile(SFXPACK_EXE), args));
  EXPECT_TRUE(tool.WaitForExit(kStubTimeoutMs));
  EXPECT_EQ(0u, tool.ExitCode());
  return package;
}

RunResult RunAnsweringBoxes(const std::wstring& program, const std::wstring& args,
                            const uitest::StartOptions& options, DWORD timeoutMs) {
  RunResult result;
  uitest::Process process;
  EXPECT_EQ(0u, process.Start(program, args, options));
  const DWORD start = GetTickCount();
  while (!process.WaitForExit(100) && GetTickCount() - start < timeoutMs) {
    if (HWND box = uitest::FindMessageBox(process)) {
      if (result.boxes.empty()) result.caption = uitest::WindowText(box);
      result.boxes.push_back(uitest::ControlText(box, uitest::kMessageBoxTextId));
      uitest::AnswerMessageBox(box);
    }
  }
  EXPECT_TRUE(process.WaitForExit(0)) << "the program did not end";
  result.exitCode = process.ExitCode();
  return result;
}
