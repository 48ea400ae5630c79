#include "graphics/ImageFont.h"

#include "base/LogWriter.h"
#include "graphics/FontDescParser.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageLoader.h"
#include "resources/PakFile.h"

#include <cmath>

ImageFont::ImageFont(const std::string& descriptorPath)
{
    std::string text;
    if (!PakReadWholeFile(descriptorPath, text)) {
        LogWriter::WriteLine("Cannot open the font descriptor '" + descriptorPath + "'");
        return;
    }
    auto descriptor = std::make_shared<FontDescriptor>();
    FontDescParser parser;
    if (!parser.Parse(text, *descriptor)) {
        LogWriter::WriteLine(parser.GetErrorText() + " in File '" + descriptorPath + "'");
        return;
    }
    std::size_t slash = descriptorPath.find_last_of("/\\");
    std::string folder = slash == std::string::npos ? std::string() : descriptorPath.substr(0, slash + 1);
    auto pages = std::make_shared<std::vector<std::unique_ptr<Image>>>();
    for (const std::string& file : descriptor->pages) {
        std::unique_ptr<Image> page(file.empty() ? nullptr : LoadImageFile(folder + file));
        if (!file.empty() && !page) {
            LogWriter::WriteLine("Cannot load the font page '" + folder + file + "'");
            return;
        }
        pages->push_back(std::move(page));
    }
    m_descriptor = std::move(descriptor);
    m_pages = std::move(pages);
    m_valid = true;
}

ImageFont::ImageFont(const ImageFont& other) = default;

ImageFont::~ImageFont() = default;

Font* ImageFont::Duplicate() const
{
    return new ImageFont(*this);
}

int ImageFont::GetAscent() const
{
    return m_valid ? m_descriptor->base : 0;
}

int ImageFont::GetAscentPadding() const
{
    return m_valid ? m_descriptor->ascentPadding : 0;
}

int ImageFont::GetHeight() const
{
    return m_valid ? m_descriptor->lineHeight : 0;
}

int ImageFont::GetLineSpacing() const
{
    return m_valid ? m_descriptor->lineHeight : 0;
}

int ImageFont::StringWidth(const std::wstring& text) const
{
    if (!m_valid)
        return 0;
    int width = 0;
    char32_t previous = 0;
    for (wchar_t c : text) {
        char32_t character = static_cast<char32_t>(c);
        width += CharWidth(c);
        auto kern = m_descriptor->kerning.find({previous, character});
        if (kern != m_descriptor->kerning.end())
            width += kern->second;
        previous = character;
    }
    return width;
}

int ImageFont::CharWidth(wchar_t character) const
{
    if (!m_valid)
        return 0;
    auto found = m_descriptor->glyphs.find(static_cast<char32_t>(character));
    return found == m_descriptor->glyphs.end() ? 0 : found->second.advance;
}

void ImageFont::DrawString(Graphics& g, float x, float y, const std::wstring& text)
{
    if (!m_valid)
        return;
    float penX = std::round(x);
    float top = std::round(y) - static_cast<float>(m_descriptor->base);
    char32_t previous = 0;
    for (wchar_t c : text) {
        char32_t character = static_cast<char32_t>(c);
        auto kern = m_descriptor->kerning.find({previous, character});
        if (kern != m_descriptor->kerning.end())
            penX += static_cast<float>(kern->second);
        previous = character;
        auto found = m_descriptor->glyphs.find(character);
        if (found == m_descriptor->glyphs.end())
            continue;
        const FontGlyph& glyph = found->second;
        Image* page = (*m_pages)[static_cast<std::size_t>(glyph.page)].get();
        if (page != nullptr && glyph.width > 0 && glyph.height > 0)
            g.DrawGlyph(page, penX + static_cast<float>(glyph.xOffset),
                        top + static_cast<float>(glyph.yOffset),
                        Rect{glyph.x, glyph.y, glyph.width, glyph.height});
        penX += static_cast<float>(glyph.advance);
    }
}
