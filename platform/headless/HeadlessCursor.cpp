#include "platform/headless/HeadlessCursor.h"

void HeadlessCursor::SetSystemCursor(int kind)
{
    m_kind = kind;
    m_imageWidth = 0;
    m_imageHeight = 0;
}

bool HeadlessCursor::SetImageCursor(const std::vector<std::uint32_t>& argb, int width, int height, int, int)
{
    if (m_refuseImages || width <= 0 || height <= 0 ||
        argb.size() < static_cast<std::size_t>(width) * height) {
        SetSystemCursor(m_kind);
        return argb.empty();
    }
    m_imageWidth = width;
    m_imageHeight = height;
    return true;
}
