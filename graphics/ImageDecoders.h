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

// The largest width or height a decoder accepts.
inline constexpr int kMaxImageSide = 16384;
