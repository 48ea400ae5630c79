#include "graphics/ImageFont.h"

#include "graphics/Image.h"

struct FontDescriptor
{
};

ImageFont::ImageFont(const std::string&)
{
}

ImageFont::ImageFont(const ImageFont& other) = default;

ImageFont::~ImageFont() = default;

Font* ImageFont::Duplicate() const
{
    return new ImageFont(*this);
}

int ImageFont::GetAscent() const
{
    return 0;
}

int ImageFont::GetAscentPadding() const
{
    return 0;
}

int ImageFont::GetHeight() const
{
    return 0;
}

int ImageFont::GetLineSpacing() const
{
    return 0;
}

int ImageFont::StringWidth(const std::wstring&) const
{
    return 0;
}

int ImageFont::CharWidth(wchar_t) const
{
    return 0;
}

void ImageFont::DrawString(Graphics&, float, float, const std::wstring&)
{
}
