#include "platform/sdl/SdlFontRasterizer.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <mutex>

namespace {

// FreeType's library object is shared by every font: one lock for all.
// Never destroyed, so fonts freed by static destructors can still take it.
std::mutex& TtfLock()
{
    static std::mutex* lock = new std::mutex;
    return *lock;
}

} // namespace

std::unique_ptr<FontRasterizer> CreateFontRasterizer()
{
    return std::make_unique<SdlFontRasterizer>();
}

SdlFontRasterizer::SdlFontRasterizer()
{
    std::lock_guard<std::mutex> hold(TtfLock());
    m_initialised = TTF_Init() == 0;
}

SdlFontRasterizer::~SdlFontRasterizer()
{
    std::lock_guard<std::mutex> hold(TtfLock());
    if (m_font != nullptr)
        TTF_CloseFont(m_font);
    if (m_initialised)
        TTF_Quit();
}

bool SdlFontRasterizer::Open(const std::string& path, int pointSize, bool bold, bool italic)
{
    std::lock_guard<std::mutex> hold(TtfLock());
    if (!m_initialised || pointSize <= 0)
        return false;
    if (m_font != nullptr)
        TTF_CloseFont(m_font);
    m_font = TTF_OpenFontDPI(path.c_str(), pointSize, 96, 96);
    if (m_font == nullptr)
        return false;
    TTF_SetFontHinting(m_font, TTF_HINTING_NORMAL);
    TTF_SetFontKerning(m_font, 0);
    int style = TTF_STYLE_NORMAL;
    // Only synthesise what the file itself does not provide.
    if (bold && path.find("Bold") == std::string::npos)
        style |= TTF_STYLE_BOLD;
    if (italic && path.find("Oblique") == std::string::npos && path.find("Italic") == std::string::npos)
        style |= TTF_STYLE_ITALIC;
    TTF_SetFontStyle(m_font, style);
    return true;
}

int SdlFontRasterizer::GetAscent() const
{
    std::lock_guard<std::mutex> hold(TtfLock());
    return m_font != nullptr ? TTF_FontAscent(m_font) : 0;
}

int SdlFontRasterizer::GetDescent() const
{
    std::lock_guard<std::mutex> hold(TtfLock());
    return m_font != nullptr ? -TTF_FontDescent(m_font) : 0;
}

int SdlFontRasterizer::GetHeight() const
{
    std::lock_guard<std::mutex> hold(TtfLock());
    return m_font != nullptr ? TTF_FontHeight(m_font) : 0;
}

int SdlFontRasterizer::GetLineSkip() const
{
    std::lock_guard<std::mutex> hold(TtfLock());
    return m_font != nullptr ? TTF_FontLineSkip(m_font) : 0;
}

bool SdlFontRasterizer::HasGlyph(char32_t character) const
{
    std::lock_guard<std::mutex> hold(TtfLock());
    return m_font != nullptr && TTF_GlyphIsProvided32(m_font, static_cast<Uint32>(character)) != 0;
}

int SdlFontRasterizer::GetAdvance(char32_t character) const
{
    std::lock_guard<std::mutex> hold(TtfLock());
    if (m_font == nullptr || TTF_GlyphIsProvided32(m_font, static_cast<Uint32>(character)) == 0)
        return 0;
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    int maxY = 0;
    int advance = 0;
    if (TTF_GlyphMetrics32(m_font, static_cast<Uint32>(character), &minX, &maxX, &minY, &maxY, &advance) != 0)
        return 0;
    return advance;
}

bool SdlFontRasterizer::RenderGlyph(char32_t character, GlyphBitmap& glyph) const
{
    std::lock_guard<std::mutex> hold(TtfLock());
    glyph = GlyphBitmap{};
    if (m_font == nullptr || TTF_GlyphIsProvided32(m_font, static_cast<Uint32>(character)) == 0)
        return false;
    SDL_Surface* rendered =
        TTF_RenderGlyph32_Blended(m_font, static_cast<Uint32>(character), SDL_Color{255, 255, 255, 255});
    if (rendered == nullptr)
        return false;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (converted == nullptr)
        return false;
    glyph.width = converted->w;
    glyph.height = converted->h;
    glyph.pixels.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
    SDL_LockSurface(converted);
    for (int y = 0; y < glyph.height; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(converted->pixels) +
                                                          y * converted->pitch);
        for (int x = 0; x < glyph.width; ++x)
            glyph.pixels[static_cast<std::size_t>(y) * glyph.width + x] = row[x];
    }
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    return true;
}
