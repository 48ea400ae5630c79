#pragma once

#include "resources/XMLElement.h"

#include <string>

// Text made safe for a double-quoted XML attribute: markup characters and
// line breaks become references, characters XML cannot hold are dropped.
std::wstring EscapeXmlAttribute(const std::wstring& text);
// As above, but each character XML cannot hold becomes U+FFFD, so a non-empty
// text never comes out empty (names stay names).
std::wstring EscapeXmlName(const std::wstring& text);
// The text without the characters XML cannot hold.
std::wstring KeepXmlCharacters(const std::wstring& text);
// ' name="value"' for each attribute, escaped.
std::wstring WriteXmlAttributes(const XMLAttributes& attributes);
// The attributes of an element other than the given known ones.
XMLAttributes UnknownAttributes(const XMLAttributes& attributes, std::initializer_list<const wchar_t*> known);
