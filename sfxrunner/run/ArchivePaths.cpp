#include "ArchivePaths.h"

namespace {

// The archive library hands a backslash stored inside a name over as U+F05C; a path made
// with backslashes must be judged as the path it was meant to be.
constexpr wchar_t kStoredBackslash = 0xF05C;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsAnySeparator(wchar_t c) { return IsSeparator(c) || c == kStoredBackslash; }

// Windows drops trailing dots and spaces from a name, so "...", ". ." or ".. " act like "..".
bool IsDotsAndSpacesOnly(const std::wstring& part) {
  return !part.empty() && part.find_first_not_of(L". ") == std::wstring::npos;
}

std::vector<std::wstring> SplitAt(const std::wstring& path, bool (*isSeparator)(wchar_t)) {
  std::vector<std::wstring> parts;
  std::wstring part;
  for (wchar_t c : path) {
    if (!isSeparator(c)) {
      part += c;
    } else if (!part.empty()) {
      parts.push_back(part);
      part.clear();
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

}  // namespace

std::wstring WithTrailingSeparator(const std::wstring& folder) {
  if (!folder.empty() && IsSeparator(folder.back())) return folder;
  return folder + L'\\';
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  return folder.empty() ? name : WithTrailingSeparator(folder) + name;
}

std::vector<std::wstring> SplitItemPath(const std::wstring& itemPath) {
  return SplitAt(itemPath, IsSeparator);
}

bool IsSafeItemPath(const std::wstring& itemPath) {
  if (itemPath.empty() || IsAnySeparator(itemPath.front())) return false;  // rooted or UNC
  if (itemPath.find(L':') != std::wstring::npos) return false;  // drive letter or stream name
  for (const std::wstring& part : SplitAt(itemPath, IsAnySeparator)) {
    if (IsDotsAndSpacesOnly(part)) return false;
  }
  return true;
}
