#include "graphics/ImageDecoders.h"

#include <cstring>
#include <vector>

namespace {

class GifReader
{
public:
    explicit GifReader(const std::string& bytes) : m_bytes(bytes) {}

    bool Has(std::size_t count) const { return count <= m_bytes.size() - m_position; }
    int Byte() { return Has(1) ? static_cast<std::uint8_t>(m_bytes[m_position++]) : -1; }
    int Word()
    {
        int low = Byte();
        int high = Byte();
        return (low < 0 || high < 0) ? -1 : low | (high << 8);
    }
    bool Skip(std::size_t count)
    {
        if (!Has(count))
            return false;
        m_position += count;
        return true;
    }
    // Skips data sub-blocks up to and including the terminator.
    bool SkipBlocks()
    {
        for (;;) {
            int size = Byte();
            if (size < 0)
                return false;
            if (size == 0)
                return true;
            if (!Skip(static_cast<std::size_t>(size)))
                return false;
        }
    }
    // Appends data sub-blocks up to the terminator.
    bool ReadBlocks(std::vector<std::uint8_t>& out)
    {
        for (;;) {
            int size = Byte();
            if (size < 0)
                return false;
            if (size == 0)
                return true;
            if (!Has(static_cast<std::size_t>(size)))
                return false;
            out.insert(out.end(), m_bytes.begin() + static_cast<long>(m_position),
                       m_bytes.begin() + static_cast<long>(m_position) + size);
            m_position += static_cast<std::size_t>(size);
        }
    }
    bool ReadPalette(int count, std::vector<std::uint32_t>& palette)
    {
        if (!Has(static_cast<std::size_t>(count) * 3))
            return false;
        palette.resize(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            std::uint32_t r = static_cast<std::uint32_t>(Byte());
            std::uint32_t g = static_cast<std::uint32_t>(Byte());
            std::uint32_t b = static_cast<std::uint32_t>(Byte());
            palette[static_cast<std::size_t>(i)] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
        return true;
    }

private:
    const std::string& m_bytes;
    std::size_t m_position = 0;
};

// Expands LZW codes into at most limit colour indices.
bool DecodeLzw(const std::vector<std::uint8_t>& data, int minimumCodeSize, std::size_t limit,
               std::vector<std::uint8_t>& indices)
{
    if (minimumCodeSize < 2 || minimumCodeSize > 11)
        return false;
    const int clearCode = 1 << minimumCodeSize;
    const int endCode = clearCode + 1;
    std::vector<std::uint16_t> prefix(4096, 0);
    std::vector<std::uint8_t> suffix(4096, 0);
    std::vector<std::uint8_t> stack;
    stack.reserve(4096);
    for (int i = 0; i < clearCode; ++i)
        suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);

    int codeSize = minimumCodeSize + 1;
    int nextCode = endCode + 1;
    int previous = -1;
    std::uint8_t firstOfPrevious = 0;
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    std::size_t position = 0;
    indices.clear();
    indices.reserve(limit);
    while (indices.size() < limit) {
        while (bitCount < codeSize) {
            if (position >= data.size())
                return !indices.empty();
            bitBuffer |= static_cast<std::uint32_t>(data[position++]) << bitCount;
            bitCount += 8;
        }
        int code = static_cast<int>(bitBuffer & ((1u << codeSize) - 1));
        bitBuffer >>= codeSize;
        bitCount -= codeSize;
        if (code == clearCode) {
            codeSize = minimumCodeSize + 1;
            nextCode = endCode + 1;
            previous = -1;
            continue;
        }
        if (code == endCode)
            break;
        if (previous < 0) {
            if (code >= clearCode)
                return false;
            indices.push_back(static_cast<std::uint8_t>(code));
            previous = code;
            firstOfPrevious = static_cast<std::uint8_t>(code);
            continue;
        }
        int current = code;
        stack.clear();
        if (code >= nextCode) {
            if (code > nextCode)
                return false;
            stack.push_back(firstOfPrevious);
            current = previous;
        }
        while (current >= clearCode) {
            stack.push_back(suffix[static_cast<std::size_t>(current)]);
            current = prefix[static_cast<std::size_t>(current)];
            if (stack.size() > 4096)
                return false;
        }
        stack.push_back(static_cast<std::uint8_t>(current));
        firstOfPrevious = static_cast<std::uint8_t>(current);
        for (auto it = stack.rbegin(); it != stack.rend() && indices.size() < limit; ++it)
            indices.push_back(*it);
        if (nextCode < 4096) {
            prefix[static_cast<std::size_t>(nextCode)] = static_cast<std::uint16_t>(previous);
            suffix[static_cast<std::size_t>(nextCode)] = firstOfPrevious;
            ++nextCode;
            if (nextCode == (1 << codeSize) && codeSize < 12)
                ++codeSize;
        }
        previous = code;
    }
    return true;
}

} // namespace

bool DecodeGif(const std::string& bytes, ImageData& image, std::string& error)
{
    GifReader reader(bytes);
    if (bytes.size() < 13 ||
        (std::memcmp(bytes.data(), "GIF87a", 6) != 0 && std::memcmp(bytes.data(), "GIF89a", 6) != 0)) {
        error = "not a GIF file";
        return false;
    }
    reader.Skip(6);
    int width = reader.Word();
    int height = reader.Word();
    int flags = reader.Byte();
    int background = reader.Byte();
    reader.Byte();
    (void)background;
    if (!IsAcceptableImageSize(width, height)) {
        error = "unsupported GIF size";
        return false;
    }
    std::vector<std::uint32_t> globalPalette;
    if ((flags & 0x80) && !reader.ReadPalette(2 << (flags & 7), globalPalette)) {
        error = "truncated GIF colour table";
        return false;
    }
    int transparent = -1;
    for (;;) {
        int block = reader.Byte();
        if (block == 0x21) {
            int label = reader.Byte();
            if (label == 0xF9) {
                int size = reader.Byte();
                if (size == 4 && reader.Has(5)) {
                    int extensionFlags = reader.Byte();
                    reader.Word();
                    int index = reader.Byte();
                    if (extensionFlags & 1)
                        transparent = index;
                    if (!reader.SkipBlocks())
                        break;
                    continue;
                }
                if (size < 0 || !reader.Skip(static_cast<std::size_t>(size)) || !reader.SkipBlocks())
                    break;
                continue;
            }
            if (label < 0 || !reader.SkipBlocks())
                break;
            continue;
        }
        if (block != 0x2C)
            break;
        // The first image is the picture.
        int left = reader.Word();
        int top = reader.Word();
        int frameWidth = reader.Word();
        int frameHeight = reader.Word();
        int frameFlags = reader.Byte();
        if (frameFlags < 0 || !IsAcceptableImageSize(frameWidth, frameHeight)) {
            error = "damaged GIF image descriptor";
            return false;
        }
        std::vector<std::uint32_t> palette = globalPalette;
        if ((frameFlags & 0x80) && !reader.ReadPalette(2 << (frameFlags & 7), palette)) {
            error = "truncated GIF colour table";
            return false;
        }
        int minimumCodeSize = reader.Byte();
        std::vector<std::uint8_t> data;
        if (minimumCodeSize < 0 || !reader.ReadBlocks(data)) {
            error = "truncated GIF data";
            return false;
        }
        std::size_t count = static_cast<std::size_t>(frameWidth) * frameHeight;
        std::vector<std::uint8_t> indices;
        if (!DecodeLzw(data, minimumCodeSize, count, indices)) {
            error = "damaged GIF data";
            return false;
        }
        indices.resize(count, static_cast<std::uint8_t>(transparent >= 0 ? transparent : 0));
        std::vector<int> rowOrder(static_cast<std::size_t>(frameHeight));
        if (frameFlags & 0x40) {
            int row = 0;
            const int starts[4] = {0, 4, 2, 1};
            const int steps[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass) {
                for (int y = starts[pass]; y < frameHeight; y += steps[pass])
                    rowOrder[static_cast<std::size_t>(row++)] = y;
            }
        } else {
            for (int y = 0; y < frameHeight; ++y)
                rowOrder[static_cast<std::size_t>(y)] = y;
        }
        image.width = width;
        image.height = height;
        image.pixels.assign(static_cast<std::size_t>(width) * height, 0u);
        for (int row = 0; row < frameHeight; ++row) {
            int y = top + rowOrder[static_cast<std::size_t>(row)];
            if (y < 0 || y >= height)
                continue;
            for (int column = 0; column < frameWidth; ++column) {
                int x = left + column;
                if (x < 0 || x >= width)
                    continue;
                int index = indices[static_cast<std::size_t>(row) * frameWidth + column];
                std::uint32_t color = 0;
                if (index != transparent && static_cast<std::size_t>(index) < palette.size())
                    color = palette[static_cast<std::size_t>(index)];
                image.pixels[static_cast<std::size_t>(y) * width + x] = color;
            }
        }
        return true;
    }
    error = "GIF file without an image";
    return false;
}
