#include "graphics/ImageDecoders.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace {

struct PngSource
{
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > source->size - source->position)
        png_error(png, "truncated file");
    if (count == 0)
        return;
    std::memcpy(out, source->data + source->position, count);
    source->position += count;
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Keeps libpng's reason for the caller's message instead of printing it.
void RecordError(png_structp png, png_const_charp message)
{
    if (auto* reason = static_cast<std::string*>(png_get_error_ptr(png)))
        *reason = message;
    png_longjmp(png, 1);
}

// Reads the header and sets the transformations that make every pixel
// four bytes B, G, R, A (0xAARRGGBB in memory). Plain locals only: libpng
// leaves by a long jump.
bool ReadHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    *width = png_get_image_width(png, info);
    *height = png_get_image_height(png, info);
    int colorType = png_get_color_type(png, info);
    int bitDepth = png_get_bit_depth(png, info);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == static_cast<png_size_t>(*width) * 4;
}

bool ReadRows(png_structp png, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    return true;
}

} // namespace

bool DecodePng(const std::string& bytes, ImageData& image, std::string& error)
{
    if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0) {
        error = "not a PNG file";
        return false;
    }
    std::string reason;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reason, RecordError, IgnoreWarning);
    if (png == nullptr) {
        error = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        error = "out of memory";
        return false;
    }
    PngSource source{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0};
    png_set_read_fn(png, &source, ReadFromMemory);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool ok = ReadHeader(png, info, &width, &height) && IsAcceptableImageSize(width, height);
    std::vector<std::uint32_t> pixels;
    std::vector<png_bytep> rows;
    if (ok) {
        pixels.assign(static_cast<std::size_t>(width) * height, 0u);
        rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y)
            rows[y] = reinterpret_cast<png_bytep>(pixels.data() + static_cast<std::size_t>(y) * width);
        ok = ReadRows(png, rows.data());
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) {
        error = reason.empty() ? "damaged or truncated PNG data" : "damaged PNG data (" + reason + ")";
        return false;
    }
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels = std::move(pixels);
    return true;
}
