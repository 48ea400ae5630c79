#include "graphics/ImageWriter.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

// Plain locals only: libpng leaves by a long jump.
bool WriteRows(png_structp png, png_infop info, std::FILE* file, int width, int height, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

bool WritePng(const ImageData& image, const std::string& path, std::string* error)
{
    auto fail = [error](const char* reason) {
        if (error != nullptr)
            *error = reason;
        return false;
    };
    if (image.IsEmpty() || image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        return fail("no pixels");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return fail("cannot create the file");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (info != nullptr) {
        // 0xAARRGGBB in memory is B, G, R, A: written with the bgr swap.
        std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
        for (int y = 0; y < image.height; ++y)
            rows[static_cast<std::size_t>(y)] = reinterpret_cast<png_bytep>(
                const_cast<std::uint32_t*>(image.pixels.data() + static_cast<std::size_t>(y) * image.width));
        ok = WriteRows(png, info, file, image.width, image.height, rows.data());
    }
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0)
        ok = false;
    if (!ok) {
        std::remove(path.c_str());
        return fail("cannot write the PNG data");
    }
    return true;
}
