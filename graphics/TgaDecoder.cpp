#include "graphics/ImageDecoders.h"

#include <vector>

namespace {

class ByteReader
{
public:
    explicit ByteReader(const std::string& bytes) : m_bytes(bytes) {}

    bool Has(std::size_t count) const { return count <= m_bytes.size() - m_position; }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(m_bytes[m_position++]); }
    int Word()
    {
        int low = Byte();
        return low | (Byte() << 8);
    }
    bool Skip(std::size_t count)
    {
        if (!Has(count))
            return false;
        m_position += count;
        return true;
    }

private:
    const std::string& m_bytes;
    std::size_t m_position = 0;
};

// One pixel of bytesPerPixel bytes as 0xAARRGGBB.
std::uint32_t ReadColor(ByteReader& reader, int bytesPerPixel)
{
    switch (bytesPerPixel) {
    case 1: {
        std::uint32_t grey = reader.Byte();
        return 0xFF000000u | (grey << 16) | (grey << 8) | grey;
    }
    case 2: {
        int value = reader.Word();
        auto expand = [](int five) { return static_cast<std::uint32_t>((five << 3) | (five >> 2)); };
        return 0xFF000000u | (expand((value >> 10) & 31) << 16) | (expand((value >> 5) & 31) << 8) |
               expand(value & 31);
    }
    case 3: {
        std::uint32_t b = reader.Byte();
        std::uint32_t g = reader.Byte();
        std::uint32_t r = reader.Byte();
        return 0xFF000000u | (r << 16) | (g << 8) | b;
    }
    default: {
        std::uint32_t b = reader.Byte();
        std::uint32_t g = reader.Byte();
        std::uint32_t r = reader.Byte();
        std::uint32_t a = reader.Byte();
        return (a << 24) | (r << 16) | (g << 8) | b;
    }
    }
}

} // namespace

bool DecodeTga(const std::string& bytes, ImageData& image, std::string& error)
{
    ByteReader reader(bytes);
    if (!reader.Has(18)) {
        error = "truncated TGA header";
        return false;
    }
    int idLength = reader.Byte();
    int mapType = reader.Byte();
    int imageType = reader.Byte();
    int mapFirst = reader.Word();
    int mapLength = reader.Word();
    int mapBits = reader.Byte();
    reader.Word();
    reader.Word();
    int width = reader.Word();
    int height = reader.Word();
    int bits = reader.Byte();
    int descriptor = reader.Byte();

    bool rle = imageType >= 9;
    int kind = rle ? imageType - 8 : imageType;
    if (kind < 1 || kind > 3 || !IsAcceptableImageSize(width, height)) {
        error = "unsupported TGA image";
        return false;
    }
    int bytesPerPixel = (bits + 7) / 8;
    bool validDepth = kind == 1   ? bits == 8
                      : kind == 3 ? bits == 8
                                  : (bits == 15 || bits == 16 || bits == 24 || bits == 32);
    if (!validDepth || !reader.Skip(static_cast<std::size_t>(idLength))) {
        error = "unsupported TGA pixel depth";
        return false;
    }
    std::vector<std::uint32_t> palette;
    if (mapType == 1) {
        int entryBytes = (mapBits + 7) / 8;
        if (entryBytes < 2 || entryBytes > 4 ||
            !reader.Has(static_cast<std::size_t>(mapLength) * entryBytes)) {
            error = "damaged TGA colour map";
            return false;
        }
        palette.resize(static_cast<std::size_t>(mapFirst + mapLength), 0xFF000000u);
        for (int i = 0; i < mapLength; ++i)
            palette[static_cast<std::size_t>(mapFirst + i)] = ReadColor(reader, entryBytes);
    }
    if (kind == 1 && palette.empty()) {
        error = "TGA colour-mapped image without a map";
        return false;
    }

    auto readPixel = [&](std::uint32_t& out) {
        if (!reader.Has(static_cast<std::size_t>(bytesPerPixel)))
            return false;
        if (kind == 1) {
            std::size_t index = reader.Byte();
            out = index < palette.size() ? palette[index] : 0xFF000000u;
        } else {
            out = ReadColor(reader, bytesPerPixel);
        }
        return true;
    };

    // The pixels must be in the file before room is made for them: a raw image holds every pixel, a
    // run-length one at least one packet (a count and a pixel) per 128 pixels.
    std::size_t count = static_cast<std::size_t>(width) * height;
    const std::size_t pixelBytes = static_cast<std::size_t>(bytesPerPixel);
    const std::size_t least = rle ? (count + 127) / 128 * (1 + pixelBytes) : count * pixelBytes;
    if (!reader.Has(least)) {
        error = "truncated TGA data";
        return false;
    }
    std::vector<std::uint32_t> pixels(count);
    std::size_t filled = 0;
    while (filled < count) {
        if (!rle) {
            if (!readPixel(pixels[filled])) {
                error = "truncated TGA data";
                return false;
            }
            ++filled;
            continue;
        }
        if (!reader.Has(1)) {
            error = "truncated TGA data";
            return false;
        }
        int packet = reader.Byte();
        std::size_t run = static_cast<std::size_t>((packet & 0x7F) + 1);
        if (run > count - filled)
            run = count - filled;
        if (packet & 0x80) {
            std::uint32_t color = 0;
            if (!readPixel(color)) {
                error = "truncated TGA data";
                return false;
            }
            for (std::size_t i = 0; i < run; ++i)
                pixels[filled++] = color;
        } else {
            for (std::size_t i = 0; i < run; ++i) {
                if (!readPixel(pixels[filled++])) {
                    error = "truncated TGA data";
                    return false;
                }
            }
        }
    }
    // Without an alpha channel every pixel is opaque.
    bool alphaBits = (descriptor & 0x0F) != 0 && bits == 32;
    if (!alphaBits && !(kind == 1 && mapBits == 32)) {
        for (std::uint32_t& pixel : pixels)
            pixel |= 0xFF000000u;
    }
    image.width = width;
    image.height = height;
    image.pixels.resize(count);
    bool topDown = (descriptor & 0x20) != 0;
    bool rightToLeft = (descriptor & 0x10) != 0;
    for (int y = 0; y < height; ++y) {
        int sourceRow = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            int sourceColumn = rightToLeft ? width - 1 - x : x;
            image.pixels[static_cast<std::size_t>(y) * width + x] =
                pixels[static_cast<std::size_t>(sourceRow) * width + sourceColumn];
        }
    }
    return true;
}
