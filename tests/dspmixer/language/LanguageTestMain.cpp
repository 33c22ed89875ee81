// The test executable's own entry. "--locate-probe <folder> <answer file>" makes it a probe: it
// locates the folder's language files under its own UI language and writes "<status> <tag>".
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "LanguageTexts.h"
#include "UiFiles.h"
#include "VTStringConv.h"

std::wstring g_titleAtStart;  // GetText(APP_TITLE) before any table was built

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--locate-probe") == 0) {
    LanguageFileSet files;
    const StatusCode status = files.Locate(veltrano::Utf8ToWide(argv[2]));
    char answer[128];
    std::snprintf(answer, sizeof(answer), "%08X %s", static_cast<unsigned>(status),
                  veltrano::WideToUtf8(files.Chosen().tag.c_str()).c_str());
    // Written under another name first, so that the answer appears whole.
    const std::wstring path = veltrano::Utf8ToWide(argv[3]);
    if (!uitest::WriteFileBytes(path + L".part", answer)) return 1;
    return MoveFileExW((path + L".part").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
  }
  g_titleAtStart = GetText(LanguageKey::APP_TITLE);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
