#include "graphics/ImageLoader.h"

#include "graphics/Image.h"

std::unique_ptr<ImageData> DecodeImageFile(const std::string&)
{
    return nullptr;
}

Image* LoadImageFile(const std::string& path)
{
    std::unique_ptr<ImageData> data = DecodeImageFile(path);
    return data ? new Image(std::move(*data)) : nullptr;
}
