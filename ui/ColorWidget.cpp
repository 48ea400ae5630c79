#include "ui/ColorWidget.h"

#include <array>

namespace {

constexpr std::array<Color, 5> kDefaultColors{OpaqueWhite, OpaqueBlack, OpaqueBlack, OpaqueBlack,
                                              OpaqueWhite};

constexpr Color kZero{0, 0, 0, 0};

} // namespace

void ColorWidget::SetColors()
{
    if (m_colors.size() < kDefaultColors.size())
        m_colors.resize(kDefaultColors.size(), kZero);
    for (std::size_t i = 0; i < kDefaultColors.size(); ++i)
        m_colors[i] = kDefaultColors[i];
    MarkDirty();
}

void ColorWidget::SetColor(int index, const Color& color)
{
    if (index < 0)
        return;
    const auto size = static_cast<std::size_t>(index) + 1;
    if (m_colors.size() < size)
        m_colors.resize(size, kZero);
    m_colors[static_cast<std::size_t>(index)] = color;
    MarkDirty();
}

Color ColorWidget::GetColor(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_colors.size())
        return kZero;
    return m_colors[static_cast<std::size_t>(index)];
}
