#include "VTXmlDocument.h"

#include <cstdio>
#include <memory>

#include "VTHandles.h"

namespace veltrano {

namespace {

UniqueFile OpenFile(const wchar_t* path, const wchar_t* mode) {
  FILE* file = nullptr;
  if (path == nullptr || _wfopen_s(&file, path, mode) != 0) return UniqueFile();
  return UniqueFile(file);
}

bool StartsWithDeclaration(const tinyxml2::XMLDocument& document) {
  const tinyxml2::XMLNode* first = document.FirstChild();
  return first != nullptr && first->ToDeclaration() != nullptr;
}

}  // namespace

VTXmlDocument::VTXmlDocument() : document(true, tinyxml2::PRESERVE_WHITESPACE) {}

VTXmlDocument::~VTXmlDocument() = default;

Status VTXmlDocument::LoadFile(const wchar_t* path) {
  UniqueFile file = OpenFile(path, L"rb");
  if (!file) return status::kFileOpenFailed;
  if (document.LoadFile(file.get()) != tinyxml2::XML_SUCCESS) return status::kFileReadFailed;
  return status::kOk;
}

// tinyxml2 copies the text into its own buffer, records the empty-document error for a null or
// empty text, and drops a half-built tree when parsing fails (its error text stays).
Status VTXmlDocument::LoadBuffer(const char* text) {
  return document.Parse(text) == tinyxml2::XML_SUCCESS ? status::kOk : status::kXmlSyntax;
}

Status VTXmlDocument::SaveFile(const wchar_t* path) {
  UniqueFile file = OpenFile(path, L"wb");
  if (!file) return status::kFileOpenFailed;
  // A second declaration would make the saved file unreadable, so only a missing one is added.
  if (!StartsWithDeclaration(document)) {
    tinyxml2::XMLDeclaration* declaration =
        document.NewDeclaration("xml version=\"1.0\" encoding=\"UTF-8\"");
    if (declaration == nullptr || document.InsertFirstChild(declaration) == nullptr) {
      return status::kFailed;
    }
  }
  if (document.SaveFile(file.get()) != tinyxml2::XML_SUCCESS || std::ferror(file.get()) != 0) {
    return status::kFileWriteFailed;
  }
  if (std::fclose(file.release()) != 0) return status::kFileWriteFailed;
  return status::kOk;
}

}  // namespace veltrano
