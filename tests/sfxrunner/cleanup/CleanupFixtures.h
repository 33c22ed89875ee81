#pragma once
// Folder trees for the clean-up tests: files with attributes, handles that keep a file open,
// and linked folders whose targets must survive.
#include <windows.h>

#include <string>

#include "UiFiles.h"
#include "UiHandle.h"

namespace cleanuptest {

bool Exists(const std::wstring& path);
bool IsLinkedFolder(const std::wstring& path);

// Creates the folder and any missing parents; false on failure.
bool MakeFolders(const std::wstring& folder);

// Creates a small file with `attributes` (its text is its own name); false on failure.
bool MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL);

// The file's text as MakeFile wrote it, checked byte for byte.
bool HasOriginalText(const std::wstring& path);

// Opens the file the way another program would while it keeps working with it.
uitest::UniqueHandle HoldOpen(const std::wstring& path, DWORD share);

// A linked folder at `link` that points at `target`, made the way this system can: a Unix
// symbolic link under Wine, a directory symbolic link on Windows. Removed again at the end
// when it is still there, without touching the target.
class LinkedFolder {
 public:
  LinkedFolder(const std::wstring& link, const std::wstring& target);
  ~LinkedFolder();
  LinkedFolder(const LinkedFolder&) = delete;
  LinkedFolder& operator=(const LinkedFolder&) = delete;

  // False when no link could be made here; the test is then skipped.
  bool IsMade() const { return made_; }

 private:
  std::wstring link_;
  bool made_ = false;
};

}  // namespace cleanuptest
