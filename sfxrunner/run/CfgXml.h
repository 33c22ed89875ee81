#pragma once
// Element access rules of the configuration document: counts, text elements, booleans and
// version numbers, each failing with the document's own status codes.
#include <tinyxml2.h>

#include <string>

#include "VTStatus.h"

using veltrano::Status;

// The number of child elements of `parent` with `name`.
unsigned CountChildElements(const tinyxml2::XMLElement* parent, const char* name);

// The one child element `name`: kNotFound when there is none, kInvalidData when there are more.
Status FindSingleChild(const tinyxml2::XMLElement* parent, const char* name,
                       const tinyxml2::XMLElement** child);

// Like FindSingleChild, but a missing element is a count out of range as well.
Status FindRequiredChild(const tinyxml2::XMLElement* parent, const char* name,
                         const tinyxml2::XMLElement** child);

// A text element: exactly one child node, text or CDATA. No child is kNoContent; several
// children, an element or a comment is kInvalidData. The text comes back as UTF-16.
Status ReadText(const tinyxml2::XMLElement* element, std::wstring& text);

// "true" or "false", without regard to ASCII case.
Status ReadBoolean(const tinyxml2::XMLElement* element, bool& value);

// An unsigned decimal attribute read like "%u": leading digits are enough ("2.5" is 2).
Status ReadUnsignedAttribute(const tinyxml2::XMLElement* element, const char* name,
                             unsigned& value);

// A section's <Name><Enabled>…</Enabled></Name> switch; a missing section keeps `value`.
Status ReadEnabledSwitch(const tinyxml2::XMLElement* section, const char* name, bool& value);
