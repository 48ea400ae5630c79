#pragma once

#include "resources/XMLElement.h"

#include <cstddef>
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
// The UTF-16 units EscapeXmlAttribute and WriteXmlAttributes write, counted without writing: escaping
// can make a text eight times its size in a file (a '>' of one byte becomes "&gt;" in UTF-16).
std::size_t EscapedXmlAttributeLength(const std::wstring& text);
std::size_t WrittenXmlAttributesLength(const XMLAttributes& attributes);
// The attributes of an element other than the given known ones.
XMLAttributes UnknownAttributes(const XMLAttributes& attributes, std::initializer_list<const wchar_t*> known);
