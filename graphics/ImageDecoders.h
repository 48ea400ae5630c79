#pragma once

#include "graphics/ImageData.h"

#include <string>

// One decoder per file format, from the whole file's bytes. Each returns
// false, with a short reason in error, on anything it cannot read; it never
// reads outside the bytes and refuses absurd sizes.

bool DecodePng(const std::string& bytes, ImageData& image, std::string& error);
bool DecodeJpeg(const std::string& bytes, ImageData& image, std::string& error);
bool DecodeTga(const std::string& bytes, ImageData& image, std::string& error);
bool DecodeGif(const std::string& bytes, ImageData& image, std::string& error);

// The largest width or height, and the most pixels, a decoder accepts.
inline constexpr int kMaxImageSide = 8192;
inline constexpr long long kMaxImagePixels = 32LL * 1024 * 1024;

inline bool IsAcceptableImageSize(long long width, long long height)
{
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}
