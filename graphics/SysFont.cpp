#include "graphics/SysFont.h"

#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "platform/FontRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>

struct SysFont::Glyph
{
    int advance = 0;
    bool rendered = false;
    std::unique_ptr<Image> image;
};

namespace {

const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

bool Has(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

}

std::string SysFont::FontFileForFace(const std::wstring& face, bool bold, bool italic)
{
    std::wstring name = Lower(face);
    bool serif = Has(name, L"times") || Has(name, L"georgia") || Has(name, L"serif") || Has(name, L"garamond")
        || Has(name, L"palatino") || Has(name, L"book");
    if (Has(name, L"sans"))
        serif = false;
    bool mono = Has(name, L"courier") || Has(name, L"mono") || Has(name, L"consol") || Has(name, L"console");
    bool condensed = Has(name, L"narrow") || Has(name, L"condensed");
    bold = bold || Has(name, L"bold") || Has(name, L"black") || Has(name, L"heavy");
    italic = italic || Has(name, L"italic") || Has(name, L"oblique");

    std::string file = mono ? "DejaVuSansMono" : serif ? "DejaVuSerif" : "DejaVuSans";
    if (condensed && !mono)
        file += "Condensed";
    if (bold || italic)
        file += "-";
    if (bold)
        file += "Bold";
    if (italic)
        file += serif ? "Italic" : "Oblique";
    return kFontFolder + file + ".ttf";
}

SysFont::SysFont(VelkAppBase*, const std::wstring& face, int size, bool bold, bool italic)
    : SysFont(face, size, bold, italic)
{
}

SysFont::SysFont(const std::wstring& face, int size, bool bold, bool italic)
    : m_face(face)
    , m_size(size)
    , m_bold(bold)
    , m_italic(italic)
    , m_rasterizer(CreateFontRasterizer())
{
    std::string path = FontFileForFace(face, bold, italic);
    if (!m_rasterizer->Open(path, size, bold, italic)) {
        std::fprintf(stderr, "Cannot open the font file %s\n", path.c_str());
        m_rasterizer.reset();
    }
}

SysFont::~SysFont() = default;

bool SysFont::IsValid() const
{
    return m_rasterizer != nullptr;
}

Font* SysFont::Duplicate() const
{
    return new SysFont(m_face, m_size, m_bold, m_italic);
}

int SysFont::GetAscent() const
{
    return m_rasterizer ? m_rasterizer->GetAscent() : 0;
}

int SysFont::GetHeight() const
{
    return m_rasterizer ? m_rasterizer->GetHeight() : 0;
}

int SysFont::GetLineSpacing() const
{
    return m_rasterizer ? m_rasterizer->GetLineSkip() : 0;
}

int SysFont::StringWidth(const std::wstring& text) const
{
    int width = 0;
    for (wchar_t c : text)
        width += CharWidth(c);
    return width;
}

int SysFont::CharWidth(wchar_t character) const
{
    if (!m_rasterizer)
        return 0;
    std::lock_guard<std::mutex> hold(m_glyphLock);
    auto found = m_glyphs.find(character);
    if (found != m_glyphs.end())
        return found->second->advance;
    // Measured once, rendered only when drawn.
    auto glyph = std::make_unique<Glyph>();
    glyph->advance = m_rasterizer->GetAdvance(static_cast<char32_t>(character));
    int advance = glyph->advance;
    m_glyphs.emplace(character, std::move(glyph));
    return advance;
}

SysFont::Glyph* SysFont::FindGlyph(wchar_t character)
{
    CharWidth(character);
    std::lock_guard<std::mutex> hold(m_glyphLock);
    Glyph* glyph = m_glyphs.at(character).get();
    if (!glyph->rendered) {
        glyph->rendered = true;
        GlyphBitmap bitmap;
        if (m_rasterizer->RenderGlyph(static_cast<char32_t>(character), bitmap) && bitmap.width > 0 && bitmap.height > 0)
            glyph->image = std::make_unique<Image>(ImageData { bitmap.width, bitmap.height, std::move(bitmap.pixels) });
    }
    return glyph;
}

void SysFont::DrawString(Graphics& g, float x, float y, const std::wstring& text)
{
    if (!m_rasterizer)
        return;
    // Whole pixels keep the glyphs sharp.
    float penX = std::round(x);
    float top = std::round(y) - static_cast<float>(GetAscent());
    for (wchar_t c : text) {
        Glyph* glyph = FindGlyph(c);
        if (glyph->image)
            g.DrawGlyph(glyph->image.get(), penX, top, Rect { 0, 0, glyph->image->GetWidth(), glyph->image->GetHeight() });
        penX += static_cast<float>(glyph->advance);
    }
}
