#pragma once

#include <cstdint>
#include <vector>

// Decoded pixels: width x height packed 0xAARRGGBB with straight alpha,
// rows top to bottom. Loader threads produce these; only the main thread
// turns them into textures.
struct ImageData
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
