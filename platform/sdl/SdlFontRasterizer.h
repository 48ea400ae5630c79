#pragma once

#include "platform/FontRasterizer.h"

struct _TTF_Font;

// A rasteriser over SDL2_ttf with fixed hinting and no kerning, so the
// metrics are the same on every run.
class SdlFontRasterizer : public FontRasterizer
{
public:
    SdlFontRasterizer();
    ~SdlFontRasterizer() override;

    bool Open(const std::string& path, int pointSize, bool bold, bool italic) override;
    int GetAscent() const override;
    int GetDescent() const override;
    int GetHeight() const override;
    int GetLineSkip() const override;
    bool HasGlyph(char32_t character) const override;
    int GetAdvance(char32_t character) const override;
    bool RenderGlyph(char32_t character, GlyphBitmap& glyph) const override;

private:
    _TTF_Font* m_font = nullptr;
    bool m_initialised = false;
};
