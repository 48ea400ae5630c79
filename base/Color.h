#pragma once

#include <cstdint>

// A colour of four 0-255 components. The premultiplied flag says that red,
// green and blue already carry the alpha factor.
struct Color
{
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 255;
    bool premultiplied = false;

    constexpr Color() = default;
    // Packed 0xAARRGGBB; an alpha byte of 0 reads as 255.
    explicit Color(std::uint32_t argb);
    constexpr Color(int r, int g, int b) : red(r), green(g), blue(b) {}
    constexpr Color(int r, int g, int b, int a) : red(r), green(g), blue(b), alpha(a) {}

    // Components 0 to 1, each scaled by 255, rounded and clamped.
    static Color FromFloats(float r, float g, float b, float a = 1.0f);

    std::uint32_t ToArgb() const;
    // The colour with red, green and blue multiplied by alpha (flag set).
    Color Premultiplied() const;
    // Component-wise product, each component scaled back to 0-255.
    Color operator*(const Color& other) const;
    bool operator==(const Color& other) const = default;
};

inline constexpr Color OpaqueWhite{255, 255, 255, 255};
inline constexpr Color OpaqueBlack{0, 0, 0, 255};
// The colour the HUD meters write their titles in.
extern Color HudTextColor;
