#include "support/GLTest.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"

#include <memory>

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kHalfBlue = 0x800000FFu;

ImageData Pixels(int width, int height, std::uint32_t argb)
{
    return ImageData{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, argb)};
}

using ImagePixelsTest = GLTest;

TEST_F(ImagePixelsTest, PixelsAFileCanGiveAgainAreLetGoOnceUploaded)
{
    Image image(Pixels(8, 8, kRed));
    int decodes = 0;
    image.SetReloader([&decodes](ImageData& pixels) {
        ++decodes;
        pixels = Pixels(8, 8, kRed);
        return true;
    });
    Graphics g(Screen());
    g.DrawImage(&image, 10, 10);
    EXPECT_TRUE(image.ArePixelsReleased());
    EXPECT_TRUE(image.HasData());
    EXPECT_EQ(8, image.GetWidth());
    EXPECT_EQ(kRed, ScreenPixel(12, 12));
    EXPECT_EQ(0, decodes);

    // A lost device: the texture is filled again from the file, and the pixels go again.
    ASSERT_TRUE(image.UploadTexture());
    EXPECT_EQ(1, decodes);
    EXPECT_TRUE(image.ArePixelsReleased());

    // Someone reads them: decoded once more and kept from then on.
    EXPECT_EQ(kRed, image.GetPixel(3, 3));
    EXPECT_FALSE(image.ArePixelsReleased());
    EXPECT_EQ(kRed, image.GetPixel(4, 4));
    ASSERT_TRUE(image.UploadTexture());
    EXPECT_FALSE(image.ArePixelsReleased());
    EXPECT_EQ(2, decodes);
}

TEST_F(ImagePixelsTest, PixelsWithoutASourceStayAndAChangedFileReadsAsNothing)
{
    Image kept(Pixels(4, 4, kHalfBlue));
    Graphics g(Screen());
    g.DrawImage(&kept, 0, 0);
    EXPECT_FALSE(kept.ArePixelsReleased());
    EXPECT_EQ(kHalfBlue, kept.GetPixel(1, 1));

    // The file changed size since: its pixels would not fit the cells.
    Image changed(Pixels(4, 4, kRed));
    changed.SetReloader([](ImageData& pixels) {
        pixels = Pixels(5, 5, kRed);
        return true;
    });
    g.DrawImage(&changed, 20, 0);
    ASSERT_TRUE(changed.ArePixelsReleased());
    EXPECT_EQ(0u, changed.GetPixel(1, 1));
    EXPECT_EQ(0u, changed.GetPixel(4, 4));
    EXPECT_EQ(kRed, ScreenPixel(21, 1));

    // New pixels given by hand replace the released ones.
    changed.SetData(Pixels(2, 2, kHalfBlue));
    EXPECT_FALSE(changed.ArePixelsReleased());
    EXPECT_EQ(kHalfBlue, changed.GetPixel(1, 1));
}

} // namespace
