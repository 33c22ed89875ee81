#pragma once
// A fresh folder under the temporary folder, removed with everything in it at the end.
#include <windows.h>

#include <string>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::wstring& Path() const { return path_; }
  std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};
