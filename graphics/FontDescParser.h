#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

// Where one glyph sits on a page and how it is placed on the line.
struct FontGlyph
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int xOffset = 0;
    // From the top of the line (the ascent line) to the glyph's top row.
    int yOffset = 0;
    int advance = 0;
    int page = 0;
};

// A bitmap font's layout, read from a descriptor file (format in docs/fonts.md).
struct FontDescriptor
{
    int lineHeight = 0;
    int base = 0;
    int ascentPadding = 0;
    // Page image files, relative to the descriptor's folder, by page id.
    std::vector<std::string> pages;
    std::map<char32_t, FontGlyph> glyphs;
    std::map<std::pair<char32_t, char32_t>, int> kerning;
};

// Reads descriptor text: lines of a tag and key=value pairs.
class FontDescParser
{
public:
    // False with the reason and " on Line %d" in the error text.
    bool Parse(const std::string& text, FontDescriptor& descriptor);
    const std::string& GetErrorText() const { return m_errorText; }

private:
    bool Fail(const std::string& reason, int line);

    std::string m_errorText;
};
