#pragma once

#include <string>

// Text made safe for a double-quoted XML attribute: markup characters and
// line breaks become references, characters XML cannot hold are dropped.
std::wstring EscapeXmlAttribute(const std::wstring& text);
