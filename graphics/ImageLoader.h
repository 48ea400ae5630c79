#pragma once

#include "graphics/ImageData.h"

#include <memory>
#include <string>

class Assets;
class Image;
struct ImageSource;

// Image files by extension (".png", ".jpg", ".tga", ".gif"), read through
// the pak file functions. A path without an extension tries each in turn.
// A companion file of the same name with "_" appended (any of those
// extensions) gives the alpha by its grey level. Any thread.

// Null (with a logged message) when nothing could be decoded.
std::unique_ptr<ImageData> DecodeImageFile(const std::string& path);
// Sets the image's alpha from the grey level of a companion image, where the two overlap.
void ApplyAlphaImage(const ImageData& alpha, ImageData& image);
// A new image owned by the caller, not uploaded yet; null on failure.
Image* LoadImageFile(const std::string& path);

// The asset registry's image loaders: pixels into a new or an existing
// image (atlas pieces become ImageAtlasPieces of their atlas), unloading
// that keeps the object, and deletion.
Image* LoadAssetImage(const ImageSource& source, Image* existing);
void UnloadAssetImage(Image* image);
void DestroyAssetImage(Image* image);
// Hands the three functions above to a registry.
void InstallImageLoaders(Assets& assets);
