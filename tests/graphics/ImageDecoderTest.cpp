#include "graphics/Image.h"
#include "graphics/ImageDecoders.h"
#include "graphics/ImageLoader.h"
#include "graphics/ImageWriter.h"
#include "resources/AssetLoaders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

namespace fs = std::filesystem;

class ImageDecoderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("tarnvale_images_" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }
    void WriteBytes(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }
    std::string ReadBytes(const std::string& name) const
    {
        std::ifstream in(PathOf(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_folder;
};

ImageData Gradient(int width, int height)
{
    ImageData data{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t alpha = static_cast<std::uint32_t>(x * 255 / (width - 1));
            data.pixels.push_back((alpha << 24) | (static_cast<std::uint32_t>(y * 10) << 16) | 0x00AA55u);
        }
    }
    return data;
}

// An image with a cell limit (the cursors) larger than the limit is refused; a PNG is refused from its
// header, so a file claiming a huge size costs nothing, while one within the limit per cell loads.
TEST_F(ImageDecoderTest, AnImageLargerThanItsCellLimitIsRefusedFromItsHeader)
{
    ASSERT_TRUE(WritePng(Gradient(512, 8), PathOf("wide.png")));
    ImageSource source;
    source.m_file = PathOf("wide");
    source.m_maxCellSide = 256;
    EXPECT_EQ(LoadAssetImage(source, nullptr), nullptr);
    source.m_cols = 2;
    std::unique_ptr<Image> cells(LoadAssetImage(source, nullptr));
    ASSERT_NE(cells, nullptr) << "two cells of 256 are within the limit";
    EXPECT_EQ(cells->GetCellWidth(), 256);

    // A header claiming 8000 x 8000 pixels with nothing after it: refused, from the header under a limit.
    std::string claim = ReadBytes("wide.png").substr(0, 33);
    const unsigned char size[] = {0, 0, 0x1F, 0x40, 0, 0, 0x1F, 0x40};
    claim.replace(16, 8, reinterpret_cast<const char*>(size), 8);
    WriteBytes("claim.png", claim);
    source.m_file = PathOf("claim");
    source.m_cols = 1;
    EXPECT_EQ(LoadAssetImage(source, nullptr), nullptr);
    source.m_maxCellSide = 0;
    EXPECT_EQ(LoadAssetImage(source, nullptr), nullptr) << "a cut file is refused either way";
}

TEST_F(ImageDecoderTest, PngKeepsItsAlphaAndColoursThroughWritingAndLoading)
{
    ImageData original = Gradient(16, 8);
    ASSERT_TRUE(WritePng(original, PathOf("gradient.png")));
    std::unique_ptr<Image> image(LoadImageFile(PathOf("gradient.png")));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(16, image->GetWidth());
    EXPECT_EQ(original.pixels, image->GetData().pixels);
    EXPECT_EQ(0x00u, image->GetPixel(0, 3) >> 24);
    EXPECT_EQ(0xFFu, image->GetPixel(15, 3) >> 24);
}

TEST_F(ImageDecoderTest, APathWithoutExtensionFindsTheFile)
{
    ASSERT_TRUE(WritePng(Gradient(4, 4), PathOf("plain.png")));
    std::unique_ptr<Image> image(LoadImageFile(PathOf("plain")));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(4, image->GetHeight());
    EXPECT_EQ(nullptr, LoadImageFile(PathOf("absent")));
}

TEST_F(ImageDecoderTest, DamagedFilesFailCleanly)
{
    ASSERT_TRUE(WritePng(Gradient(64, 64), PathOf("whole.png")));
    std::string whole = ReadBytes("whole.png");
    WriteBytes("cut.png", whole.substr(0, whole.size() / 2));
    EXPECT_EQ(nullptr, LoadImageFile(PathOf("cut.png")));
    WriteBytes("header.png", whole.substr(0, 20));
    EXPECT_EQ(nullptr, LoadImageFile(PathOf("header.png")));

    std::string junk(300, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    WriteBytes("junk.jpg", junk);
    EXPECT_EQ(nullptr, LoadImageFile(PathOf("junk.jpg")));
    WriteBytes("junk_start.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + junk);
    EXPECT_EQ(nullptr, LoadImageFile(PathOf("junk_start.jpg")));
    WriteBytes("junk.gif", "GIF89a" + junk);
    EXPECT_EQ(nullptr, LoadImageFile(PathOf("junk.gif")));
    WriteBytes("junk.tga", junk.substr(0, 10));
    EXPECT_EQ(nullptr, LoadImageFile(PathOf("junk.tga")));
}

TEST_F(ImageDecoderTest, AGreyCompanionBecomesTheAlpha)
{
    ImageData colour{2, 1, {0xFF102030u, 0xFF405060u}};
    ImageData grey{2, 1, {0xFF808080u, 0xFF000000u}};
    ASSERT_TRUE(WritePng(colour, PathOf("sprite.png")));
    ASSERT_TRUE(WritePng(grey, PathOf("sprite_.png")));
    std::unique_ptr<Image> image(LoadImageFile(PathOf("sprite")));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(0x80102030u, image->GetPixel(0, 0));
    EXPECT_EQ(0x00405060u, image->GetPixel(1, 0));

    // A companion of another size applies where both have pixels, nowhere else.
    ASSERT_TRUE(WritePng(colour, PathOf("odd.png")));
    ASSERT_TRUE(WritePng(ImageData{1, 2, {0xFF404040u, 0xFF000000u}}, PathOf("odd_.png")));
    std::unique_ptr<Image> odd(LoadImageFile(PathOf("odd.png")));
    ASSERT_NE(nullptr, odd);
    EXPECT_EQ(0x40102030u, odd->GetPixel(0, 0));
    EXPECT_EQ(0xFF405060u, odd->GetPixel(1, 0));
}

std::string TgaHeader(int imageType, int width, int height, int bits, int descriptor)
{
    std::string header(18, '\0');
    header[2] = static_cast<char>(imageType);
    header[12] = static_cast<char>(width);
    header[14] = static_cast<char>(height);
    header[16] = static_cast<char>(bits);
    header[17] = static_cast<char>(descriptor);
    return header;
}

TEST(TgaDecoderTest, ReadsBottomUpAndRunLengthImages)
{
    // 2 x 2, 24 bits, rows stored bottom first: blue green / red white.
    std::string plain = TgaHeader(2, 2, 2, 24, 0) + std::string("\x00\x00\xFF"
                                                                "\xFF\xFF\xFF"
                                                                "\xFF\x00\x00"
                                                                "\x00\xFF\x00",
                                                                12);
    ImageData image;
    std::string error;
    ASSERT_TRUE(DecodeTga(plain, image, error)) << error;
    EXPECT_EQ((std::vector<std::uint32_t>{0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu}), image.pixels);

    // A run of four translucent pixels, top-down, 32 bits with 8 alpha bits.
    std::string runs = TgaHeader(10, 2, 2, 32, 0x28) + std::string("\x83\x10\x20\x30\x40", 5);
    ASSERT_TRUE(DecodeTga(runs, image, error)) << error;
    EXPECT_EQ(std::vector<std::uint32_t>(4, 0x40302010u), image.pixels);

    // The run promises more than the file holds.
    EXPECT_FALSE(DecodeTga(TgaHeader(10, 4, 4, 32, 8) + "\x01\x10", image, error));

    // A header claiming 65535 x 65535 pixels is refused before anything is allocated.
    std::string huge = TgaHeader(2, 0xFF, 0xFF, 24, 0);
    huge[13] = '\xFF';
    huge[15] = '\xFF';
    EXPECT_FALSE(DecodeTga(huge + std::string(30, '\0'), image, error));
    EXPECT_EQ("unsupported TGA image", error);
}

// A GIF whose LZW stream clears the table before every code, so it can be
// written by hand: 3-bit codes, least significant bit first.
std::string HandMadeGif(const std::vector<int>& indices, int width, int height, int transparent)
{
    std::string gif = "GIF89a";
    gif += static_cast<char>(width);
    gif += '\0';
    gif += static_cast<char>(height);
    gif += '\0';
    gif += std::string("\x81\x00\x00", 3); // global table of 4 colours
    gif += std::string("\xFF\x00\x00"
                       "\x00\xFF\x00"
                       "\x00\x00\xFF"
                       "\xFF\xFF\xFF",
                       12);
    if (transparent >= 0)
        gif += std::string("\x21\xF9\x04\x01\x00\x00", 6) + static_cast<char>(transparent) +
               std::string("\x00", 1);
    gif += std::string("\x2C\x00\x00\x00\x00", 5);
    gif += static_cast<char>(width);
    gif += '\0';
    gif += static_cast<char>(height);
    gif += '\0';
    gif += '\0';
    gif += '\x02';
    std::vector<int> codes;
    for (int index : indices) {
        codes.push_back(4);
        codes.push_back(index);
    }
    codes.push_back(5);
    std::string data;
    unsigned buffer = 0;
    int bits = 0;
    for (int code : codes) {
        buffer |= static_cast<unsigned>(code) << bits;
        bits += 3;
        while (bits >= 8) {
            data += static_cast<char>(buffer & 0xFF);
            buffer >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0)
        data += static_cast<char>(buffer & 0xFF);
    gif += static_cast<char>(data.size());
    gif += data;
    gif += std::string("\x00\x3B", 2);
    return gif;
}

TEST(GifDecoderTest, ReadsTheFirstImageWithItsTransparentIndex)
{
    ImageData image;
    std::string error;
    ASSERT_TRUE(DecodeGif(HandMadeGif({0, 1, 2, 3}, 2, 2, 3), image, error)) << error;
    EXPECT_EQ((std::vector<std::uint32_t>{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0u}), image.pixels);
}

TEST(GifDecoderTest, ShortDataFillsWithTransparencyAndBadCodesFail)
{
    ImageData image;
    std::string error;
    ASSERT_TRUE(DecodeGif(HandMadeGif({1}, 2, 1, 0), image, error)) << error;
    EXPECT_EQ((std::vector<std::uint32_t>{0xFF00FF00u, 0u}), image.pixels);
    // Code 7 is neither a colour nor a table entry yet.
    std::string bad = HandMadeGif({7}, 1, 1, -1);
    EXPECT_FALSE(DecodeGif(bad, image, error));
}

} // namespace

#include <jpeglib.h>

namespace {

std::string EncodeJpeg(int width, int height, unsigned char r, unsigned char g, unsigned char b,
                       bool progressive = false)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[static_cast<std::size_t>(x) * 3] = r;
        row[static_cast<std::size_t>(x) * 3 + 1] = g;
        row[static_cast<std::size_t>(x) * 3 + 2] = b;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return bytes;
}

TEST(JpegDecoderTest, DecodesOpaqueColoursAndRefusesACutFile)
{
    std::string bytes = EncodeJpeg(24, 16, 200, 100, 50);
    ImageData image;
    std::string error;
    ASSERT_TRUE(DecodeJpeg(bytes, image, error)) << error;
    EXPECT_EQ(24, image.width);
    EXPECT_EQ(16, image.height);
    std::uint32_t pixel = image.At(10, 10);
    EXPECT_EQ(0xFFu, pixel >> 24);
    EXPECT_NEAR(200, static_cast<int>((pixel >> 16) & 0xFF), 3);
    EXPECT_NEAR(100, static_cast<int>((pixel >> 8) & 0xFF), 3);
    EXPECT_NEAR(50, static_cast<int>(pixel & 0xFF), 3);
    EXPECT_FALSE(DecodeJpeg(bytes.substr(0, bytes.size() / 2), image, error));
}

// A few hundred bytes claiming 65500 x 65500 pixels are refused from the header, before libjpeg would
// allocate gigabytes for a progressive file's coefficients.
TEST(JpegDecoderTest, AClaimedSizeBeyondTheLimitIsRefusedBeforeDecoding)
{
    std::ifstream file(TARNVALE_SOURCE_DIR "/fuzz/regressions/jpeg/progressive-claims-65500x65500.jpg",
                       std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(bytes.empty());
    ImageData image;
    std::string error;
    EXPECT_FALSE(DecodeJpeg(bytes, image, error));
    EXPECT_EQ("the image claims 65500x65500 pixels", error);
}

// Within the size limit, a progressive file's coefficients need memory for the whole claimed image
// before any pixel comes out. 584 bytes cannot hold the blocks of 8192 x 4096 pixels: libjpeg is stopped
// at the memory such a file can stand for, instead of taking hundreds of megabytes. A real progressive
// image of that kind of size still decodes.
TEST(JpegDecoderTest, AProgressiveFileGetsOnlyTheMemoryItsBytesCanStandFor)
{
    std::ifstream file(TARNVALE_SOURCE_DIR
                       "/fuzz/regressions/jpeg/progressive-584-bytes-claims-8192x4096.jpg",
                       std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(bytes.size(), 584u);
    ImageData image;
    std::string error;
    EXPECT_FALSE(DecodeJpeg(bytes, image, error));
    EXPECT_NE(error.find("store"), std::string::npos)
        << "stopped for memory, not at the end of the data: " << error;

    const std::string real = EncodeJpeg(4096, 2048, 30, 160, 90, true);
    ASSERT_TRUE(DecodeJpeg(real, image, error)) << error << " (" << real.size() << " bytes)";
    EXPECT_EQ(image.width, 4096);
    EXPECT_NEAR(160, static_cast<int>((image.At(4000, 2000) >> 8) & 0xFF), 3);
}

} // namespace
