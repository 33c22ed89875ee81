#pragma once
// Files for end-to-end tests: a scratch folder that cleans up after itself, whole-file reads
// and writes, and folder listings to check that nothing was left behind.
#include <string>
#include <vector>

namespace uitest {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Removes a folder with its files and subfolders. A linked folder (reparse point) is neither
// entered nor removed: under Wine, removing through a link can remove its target.
void RemoveFolderTree(const std::wstring& folder);

// The whole file; false when it cannot be read.
bool ReadFileBytes(const std::wstring& path, std::string& bytes);
// Creates or replaces the file with exactly `bytes`.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// The names of the entries of `folder` (without "." and ".."), sorted.
std::vector<std::wstring> ListFolder(const std::wstring& folder);

}  // namespace uitest
