#include "graphics/ImageChild.h"

ImageChild::ImageChild(Image* parent, const Rect& area) : m_parent(parent), m_area(area)
{
    SetSize(area.width, area.height);
}

bool ImageChild::GetTextureSource(TextureSource& source)
{
    if (m_parent == nullptr || !m_parent->GetTextureSource(source))
        return false;
    source.area = Rect{source.area.x + m_area.x, source.area.y + m_area.y, m_area.width, m_area.height};
    return true;
}

bool ImageChild::UploadTexture()
{
    return m_parent != nullptr && m_parent->UploadTexture();
}

std::uint32_t ImageChild::ReadPixel(int x, int y) const
{
    return m_parent == nullptr ? 0 : m_parent->GetImagePixel(m_area.x + x, m_area.y + y);
}
