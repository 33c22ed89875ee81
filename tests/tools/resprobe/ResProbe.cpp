// Reports the resources that the package tool must replace, remove or keep, as its own image
// carries them: one line per resource, "label=<hex bytes>" or "label=error <FindResourceExW's
// error>", written to the file named by the only argument.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct ProbedResource {
  const char* label;
  const wchar_t* type;
  const wchar_t* name;
};

// The configuration, the manifest, and two that only look alike: a string-named type and a
// numbered type that uses the configuration's number.
const ProbedResource kResources[] = {
    {"rcdata-222", RT_RCDATA, MAKEINTRESOURCEW(222)},
    {"manifest-1", RT_MANIFEST, MAKEINTRESOURCEW(1)},
    {"probetype-probename", L"PROBETYPE", L"PROBENAME"},
    {"type300-222", MAKEINTRESOURCEW(300), MAKEINTRESOURCEW(222)},
};

constexpr WORD kLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::string Describe(const ProbedResource& probed) {
  HRSRC found = FindResourceExW(nullptr, probed.type, probed.name, kLanguage);
  if (found == nullptr) return "error " + std::to_string(GetLastError());
  const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
  const DWORD size = SizeofResource(nullptr, found);
  std::string hex;
  char digits[3];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(digits, sizeof(digits), "%02x", bytes[i]);
    hex += digits;
  }
  return hex;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  FILE* report = _wfopen(argv[1], L"wb");
  if (report == nullptr) return 3;
  for (const ProbedResource& probed : kResources) {
    std::fprintf(report, "%s=%s\n", probed.label, Describe(probed).c_str());
  }
  return std::fclose(report) == 0 ? 0 : 4;
}
