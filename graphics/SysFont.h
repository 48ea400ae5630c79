#pragma once

#include "graphics/Font.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class VelkAppBase;
class FontRasterizer;
struct GlyphBitmap;
class Image;

// A font from a face name and a size in points, rendered from the DejaVu
// family that stands in for the system's faces.
class SysFont : public Font
{
public:
    SysFont(VelkAppBase* app, const std::wstring& face, int size, bool bold = false, bool italic = false);
    SysFont(const std::wstring& face, int size, bool bold = false, bool italic = false);
    ~SysFont() override;

    bool IsValid() const;
    const std::wstring& GetFace() const { return m_face; }
    int GetSize() const { return m_size; }

    Font* Duplicate() const override;
    int GetAscent() const override;
    int GetHeight() const override;
    int GetLineSpacing() const override;
    int StringWidth(const std::wstring& text) const override;
    int CharWidth(wchar_t character) const override;
    void DrawString(Graphics& g, float x, float y, const std::wstring& text) override;

    // The DejaVu file that stands in for a face.
    static std::string FontFileForFace(const std::wstring& face, bool bold, bool italic);

private:
    struct Glyph;
    Glyph* FindGlyph(wchar_t character);
    // Places a rendered glyph on a page, starting a page when full.
    bool PlaceGlyph(Glyph& glyph, const GlyphBitmap& bitmap);

    std::wstring m_face;
    int m_size = 0;
    bool m_bold = false;
    bool m_italic = false;
    std::unique_ptr<FontRasterizer> m_rasterizer;
    mutable std::map<wchar_t, std::unique_ptr<Glyph>> m_glyphs;
    mutable std::mutex m_glyphLock;
    // Glyphs are packed in rows onto pages, so a line of text draws from
    // one texture. A page grows as rows are added: most fonts draw few
    // glyphs. Its image holds the only copy of the pixels beside the texture.
    std::vector<std::unique_ptr<Image>> m_pages;
    int m_penX = 0;
    int m_penY = 0;
    int m_rowHeight = 0;
};
