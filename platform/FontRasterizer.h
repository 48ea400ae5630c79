#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One rendered glyph: white with coverage as straight alpha (0xAARRGGBB),
// positioned so that its top row sits on the font's ascent line.
struct GlyphBitmap
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Renders the glyphs of one outline font file at one size.
class FontRasterizer
{
public:
    virtual ~FontRasterizer() = default;

    // Size in points at 96 dots per inch.
    virtual bool Open(const std::string& path, int pointSize, bool bold, bool italic) = 0;
    virtual int GetAscent() const = 0;
    virtual int GetDescent() const = 0;
    virtual int GetHeight() const = 0;
    virtual int GetLineSkip() const = 0;
    virtual bool HasGlyph(char32_t character) const = 0;
    // Pen advance in pixels; 0 for a missing glyph.
    virtual int GetAdvance(char32_t character) const = 0;
    virtual bool RenderGlyph(char32_t character, GlyphBitmap& glyph) const = 0;
};

// The platform's rasteriser (SDL2_ttf).
std::unique_ptr<FontRasterizer> CreateFontRasterizer();
