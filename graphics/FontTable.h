#pragma once

#include <string>

class Font;

// The font table: fonts by name, filled from properties/fonts.xml.

// The font of that name; an unknown name is inserted with an empty entry
// and yields null.
Font* GetFont(const std::wstring& name);
// Registers (and owns) a font under a name, replacing an earlier one.
void AddFont(const std::wstring& name, Font* font);
// Reads a fonts file (`<font name face size/>` or `<font name descriptor/>`);
// names already loaded are kept. False with a logged message on bad input.
bool LoadFonts(const std::string& path = "properties/fonts.xml");
// Empties the table, deleting every font.
void FreeFonts();
