#include "base/Color.h"

#include <algorithm>

Color HudTextColor{255, 255, 255, 255};

namespace {

int ClampComponent(int value)
{
    return std::clamp(value, 0, 255);
}

} // namespace

Color::Color(std::uint32_t argb)
    : red(static_cast<int>((argb >> 16) & 0xFF)), green(static_cast<int>((argb >> 8) & 0xFF)),
      blue(static_cast<int>(argb & 0xFF)), alpha(static_cast<int>(argb >> 24))
{
    if (alpha == 0)
        alpha = 255;
}

Color Color::FromFloats(float r, float g, float b, float a)
{
    auto scale = [](float value) {
        float scaled = value * 255.0f + 0.5f;
        if (!(scaled >= 0.0f)) // also catches NaN
            return 0;
        return scaled >= 255.0f ? 255 : static_cast<int>(scaled);
    };
    return Color(scale(r), scale(g), scale(b), scale(a));
}

std::uint32_t Color::ToArgb() const
{
    return (static_cast<std::uint32_t>(ClampComponent(alpha)) << 24) |
           (static_cast<std::uint32_t>(ClampComponent(red)) << 16) |
           (static_cast<std::uint32_t>(ClampComponent(green)) << 8) |
           static_cast<std::uint32_t>(ClampComponent(blue));
}

Color Color::Premultiplied() const
{
    if (premultiplied)
        return *this;
    int a = ClampComponent(alpha);
    Color result((ClampComponent(red) * a + 127) / 255, (ClampComponent(green) * a + 127) / 255,
                 (ClampComponent(blue) * a + 127) / 255, a);
    result.premultiplied = true;
    return result;
}

Color Color::operator*(const Color& other) const
{
    auto product = [](int x, int y) { return (ClampComponent(x) * ClampComponent(y) + 127) / 255; };
    Color result(product(red, other.red), product(green, other.green), product(blue, other.blue),
                 product(alpha, other.alpha));
    result.premultiplied = premultiplied;
    return result;
}
