#pragma once

#include "graphics/Font.h"
#include "graphics/Rect.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class Image;
struct FontDescriptor;

// A bitmap font: glyphs cut from page images, placed by a descriptor file.
class ImageFont : public Font
{
public:
    // Reads the descriptor and its page images; IsValid tells the outcome.
    explicit ImageFont(const std::string& descriptorPath);
    ImageFont(const ImageFont& other);
    ~ImageFont() override;

    bool IsValid() const { return m_valid; }

    Font* Duplicate() const override;
    int GetAscent() const override;
    int GetAscentPadding() const override;
    int GetHeight() const override;
    int GetLineSpacing() const override;
    int StringWidth(const std::wstring& text) const override;
    int CharWidth(wchar_t character) const override;
    void DrawString(Graphics& g, float x, float y, const std::wstring& text) override;

private:
    bool m_valid = false;
    std::shared_ptr<const FontDescriptor> m_descriptor;
    std::shared_ptr<std::vector<std::unique_ptr<Image>>> m_pages;
};
