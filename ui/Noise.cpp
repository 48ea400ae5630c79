#include "ui/Noise.h"

#include "base/Common.h"

#include <array>
#include <cmath>
#include <utility>

namespace {

// 256 entries and a copy of the first 258 after them, so index i + 1 never wraps.
constexpr int kTableSize = 256 + 258;

std::array<int, kTableSize> gPermutation{};
std::array<float, kTableSize> gGradient{};

} // namespace

void InitNoise()
{
    for (int i = 0; i < 256; ++i) {
        gPermutation[i] = i;
        gGradient[i] = RandFloatRange(-1.0f, 1.0f);
    }
    for (int i = 255; i >= 1; --i)
        std::swap(gPermutation[i], gPermutation[Rand(256)]);
    for (int k = 0; k < 258; ++k) {
        gPermutation[256 + k] = gPermutation[k];
        gGradient[256 + k] = gGradient[k];
    }
}

double Noise1D(double t)
{
    float v = static_cast<float>(t) + 4096.0f;
    // From 2^24 on a float has no fraction, so the noise is 0 there; checking
    // first also keeps the int conversion in range.
    if (!(std::fabs(v) < 16777216.0f))
        return 0.0;
    int i = static_cast<int>(v);
    float f = v - static_cast<float>(i);
    int a = gPermutation[i & 255];
    int b = gPermutation[(i + 1) & 255];
    float u = gGradient[a] * f;
    float w = gGradient[b] * (f - 1.0f);
    float s = f * f * (3.0f - 2.0f * f);
    return u + s * (w - u);
}
