#pragma once

#include "graphics/ImageData.h"

#include <string>

// Writes the pixels as an 8-bit RGBA PNG file (screenshots, generated
// content). The same pixels always give the same bytes.
bool WritePng(const ImageData& image, const std::string& path, std::string* error = nullptr);
