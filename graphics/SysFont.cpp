#include "graphics/SysFont.h"

#include "base/LogWriter.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "platform/FontRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

struct SysFont::Glyph
{
    int advance = 0;
    bool rendered = false;
    int page = -1;
    Rect area;
};

namespace {

const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr int kPageWidth = 512;
constexpr int kMaxPageHeight = 512;
// A new page's least height; it doubles while rows are added.
constexpr int kMinPageHeight = 32;

// Makes the page at least that high, keeping the glyphs on it.
void GrowPage(Image& page, int height)
{
    int grown = std::max(page.GetHeight(), kMinPageHeight);
    while (grown < height)
        grown *= 2;
    grown = std::min(grown, kMaxPageHeight);
    if (grown <= page.GetHeight())
        return;
    ImageData data{kPageWidth, grown,
                   std::vector<std::uint32_t>(static_cast<std::size_t>(kPageWidth) * grown, 0u)};
    const ImageData& old = page.GetData();
    std::copy(old.pixels.begin(), old.pixels.end(), data.pixels.begin());
    page.SetData(std::move(data));
}

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

bool Has(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

} // namespace

std::string SysFont::FontFileForFace(const std::wstring& face, bool bold, bool italic)
{
    std::wstring name = Lower(face);
    bool serif = Has(name, L"times") || Has(name, L"georgia") || Has(name, L"serif") ||
                 Has(name, L"garamond") || Has(name, L"palatino") || Has(name, L"book");
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
    : m_face(face), m_size(size), m_bold(bold), m_italic(italic), m_rasterizer(CreateFontRasterizer())
{
    std::string path = FontFileForFace(face, bold, italic);
    if (!m_rasterizer->Open(path, size, bold, italic)) {
        LogWriter::WriteLine("Cannot open the font file " + path);
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
        if (m_rasterizer->RenderGlyph(static_cast<char32_t>(character), bitmap) && bitmap.width > 0 &&
            bitmap.height > 0)
            PlaceGlyph(*glyph, bitmap);
    }
    return glyph;
}

bool SysFont::PlaceGlyph(Glyph& glyph, const GlyphBitmap& bitmap)
{
    if (bitmap.width > kPageWidth || bitmap.height > kMaxPageHeight)
        return false;
    if (m_penX + bitmap.width > kPageWidth) {
        m_penX = 0;
        m_penY += m_rowHeight + 1;
        m_rowHeight = 0;
    }
    if (m_pages.empty() || m_penY + bitmap.height > kMaxPageHeight) {
        m_pages.push_back(std::make_unique<Image>());
        m_penX = 0;
        m_penY = 0;
        m_rowHeight = 0;
    }
    Image& page = *m_pages.back();
    if (page.GetHeight() < m_penY + bitmap.height)
        GrowPage(page, m_penY + bitmap.height);
    const Rect area{m_penX, m_penY, bitmap.width, bitmap.height};
    if (!page.WriteArea(area, bitmap.pixels.data()))
        return false;
    glyph.page = static_cast<int>(m_pages.size()) - 1;
    glyph.area = area;
    m_penX += bitmap.width + 1;
    m_rowHeight = std::max(m_rowHeight, bitmap.height);
    return true;
}

void SysFont::DrawString(Graphics& g, float x, float y, const std::wstring& text)
{
    if (!m_rasterizer)
        return;
    // Whole pixels keep the glyphs sharp.
    float penX = std::round(x);
    float top = std::round(y) - static_cast<float>(GetAscent());
    // New glyphs first: their pages change before the line draws from them.
    for (wchar_t c : text)
        FindGlyph(c);
    for (wchar_t c : text) {
        Glyph* glyph = FindGlyph(c);
        if (glyph->page >= 0)
            g.DrawGlyph(m_pages[static_cast<std::size_t>(glyph->page)].get(), penX, top, glyph->area);
        penX += static_cast<float>(glyph->advance);
    }
}
