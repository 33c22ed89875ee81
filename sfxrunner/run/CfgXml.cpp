#include "CfgXml.h"

#include <cstdio>

#include "VTStringConv.h"

namespace status = veltrano::status;
using tinyxml2::XMLElement;
using tinyxml2::XMLNode;

unsigned CountChildElements(const XMLElement* parent, const char* name) {
  unsigned count = 0;
  for (const XMLElement* e = parent->FirstChildElement(name); e != nullptr;
       e = e->NextSiblingElement(name)) {
    ++count;
  }
  return count;
}

Status FindSingleChild(const XMLElement* parent, const char* name, const XMLElement** child) {
  *child = nullptr;
  const unsigned count = CountChildElements(parent, name);
  if (count == 0) return status::kNotFound;
  if (count > 1) return status::kInvalidData;
  *child = parent->FirstChildElement(name);
  return status::kOk;
}

Status FindRequiredChild(const XMLElement* parent, const char* name, const XMLElement** child) {
  const Status result = FindSingleChild(parent, name, child);
  return result == status::kNotFound ? status::kInvalidData : result;
}

Status ReadText(const XMLElement* element, std::wstring& text) {
  const XMLNode* child = element->FirstChild();
  if (child == nullptr) return status::kNoContent;
  if (child->NextSibling() != nullptr || child->ToText() == nullptr) return status::kInvalidData;
  text = veltrano::Utf8ToWide(child->Value());
  return status::kOk;
}

namespace {
bool EqualsIgnoringAsciiCase(const std::wstring& text, const wchar_t* word) {
  size_t i = 0;
  for (; word[i] != L'\0'; ++i) {
    if (i >= text.size()) return false;
    wchar_t c = text[i];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    if (c != word[i]) return false;
  }
  return i == text.size();
}
}  // namespace

Status ReadBoolean(const XMLElement* element, bool& value) {
  std::wstring text;
  VT_RETURN_IF_FAILED(ReadText(element, text));
  if (EqualsIgnoringAsciiCase(text, L"true")) {
    value = true;
  } else if (EqualsIgnoringAsciiCase(text, L"false")) {
    value = false;
  } else {
    return status::kInvalidData;
  }
  return status::kOk;
}

Status ReadUnsignedAttribute(const XMLElement* element, const char* name, unsigned& value) {
  const char* text = element->Attribute(name);
  if (text == nullptr) return status::kNotFound;
  if (std::sscanf(text, "%u", &value) != 1) return status::kInvalidData;
  return status::kOk;
}

Status ReadEnabledSwitch(const XMLElement* section, const char* name, bool& value) {
  const XMLElement* element = nullptr;
  const Status found = FindSingleChild(section, name, &element);
  if (found == status::kNotFound) return status::kOk;
  VT_RETURN_IF_FAILED(found);
  const XMLElement* enabled = nullptr;
  VT_RETURN_IF_FAILED(FindRequiredChild(element, "Enabled", &enabled));
  return ReadBoolean(enabled, value);
}
