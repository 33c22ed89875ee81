#pragma once
// Every resource of an executable image, read into memory, so that the image's resource
// section can be written again without some of them.
#include <windows.h>

#include <string>
#include <vector>

#include "PackFailure.h"

namespace sfxpack {

// A resource type or name: a number, or a string when `text` is not empty.
struct ResourceId {
  WORD number = 0;
  std::wstring text;

  static ResourceId From(const wchar_t* id);
  const wchar_t* Pointer() const { return text.empty() ? MAKEINTRESOURCEW(number) : text.c_str(); }
  bool IsNumber(WORD value) const { return text.empty() && number == value; }
};

struct ResourceEntry {
  ResourceId type;
  ResourceId name;
  WORD language = 0;
  std::vector<BYTE> data;
};

// Reads every resource of the image at `path`; an image without resources gives none.
Status ReadResources(const std::wstring& path, std::vector<ResourceEntry>& entries,
                     PackFailure& failure);

// Replaces all resources of the image at `path` with `entries`.
Status WriteResources(const std::wstring& path, const std::vector<ResourceEntry>& entries,
                      PackFailure& failure);

}  // namespace sfxpack
