#pragma once

#include <string>

class Graphics;

// A font measures text and writes it through a Graphics in its current
// colour. Measurements are in pixels; y of DrawString is the baseline.
class Font
{
public:
    virtual ~Font() = default;

    // A copy owned by the caller.
    virtual Font* Duplicate() const = 0;
    virtual int GetAscent() const = 0;
    // Blank rows at the top of the ascent.
    virtual int GetAscentPadding() const { return 0; }
    virtual int GetHeight() const = 0;
    virtual int GetLineSpacing() const = 0;
    virtual int StringWidth(const std::wstring& text) const = 0;
    // 0 for a character the font lacks.
    virtual int CharWidth(wchar_t character) const = 0;
    virtual void DrawString(Graphics& g, float x, float y, const std::wstring& text) = 0;
};
