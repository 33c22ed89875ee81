#pragma once
// One XML document over tinyxml2 (entities processed, white space preserved). Callers reach
// the element tree through `document`.
#include <tinyxml2.h>

#include "VTStatus.h"

namespace veltrano {

class VTXmlDocument {
 public:
  VTXmlDocument();
  virtual ~VTXmlDocument();
  VTXmlDocument(const VTXmlDocument&) = delete;
  VTXmlDocument& operator=(const VTXmlDocument&) = delete;

  // kFileOpenFailed when the file cannot be opened, kFileReadFailed for any parse error.
  virtual Status LoadFile(const wchar_t* path);
  // A zero-terminated UTF-8 text; kXmlSyntax for an empty or malformed one, which leaves an
  // empty document.
  virtual Status LoadBuffer(const char* text);
  // Writes the document with a leading UTF-8 declaration (one is added when it has none).
  virtual Status SaveFile(const wchar_t* path);

  tinyxml2::XMLDocument document;
};

}  // namespace veltrano
