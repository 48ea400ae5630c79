#include "support/GLTest.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"

#include <memory>

namespace {

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

TEST_F(ImagePixelsTest, AWrittenRectangleReachesTheTextureAndThePixels)
{
    Image image(Pixels(8, 8, kRed));
    const std::vector<std::uint32_t> patch(6, kGreen);
    // Before the first upload: the whole image goes up at the first draw.
    ASSERT_TRUE(image.WriteArea(Rect{0, 0, 3, 2}, patch.data()));
    Graphics g(Screen());
    g.DrawImage(&image, 10, 10);
    EXPECT_EQ(kGreen, ScreenPixel(12, 11));
    EXPECT_EQ(kRed, ScreenPixel(13, 11));

    // On the device: only the rectangle changes, in the texture and in the pixels.
    ASSERT_TRUE(image.WriteArea(Rect{5, 6, 2, 3}, patch.data()) == false) << "past the bottom edge";
    ASSERT_TRUE(image.WriteArea(Rect{5, 5, 2, 3}, patch.data()));
    g.DrawImage(&image, 10, 10);
    EXPECT_EQ(kGreen, ScreenPixel(15, 15));
    EXPECT_EQ(kGreen, ScreenPixel(16, 17));
    EXPECT_EQ(kRed, ScreenPixel(14, 15));
    EXPECT_EQ(kRed, ScreenPixel(17, 17));
    EXPECT_EQ(kGreen, ScreenPixel(10, 10)) << "the earlier rectangle stays";
    EXPECT_EQ(kGreen, image.GetPixel(6, 7));
    EXPECT_EQ(kRed, image.GetPixel(4, 7));
}

TEST_F(ImagePixelsTest, PixelsWrittenInCodeNoLongerComeFromTheFile)
{
    Image image(Pixels(4, 4, kRed));
    image.SetReloader([](ImageData& pixels) {
        pixels = Pixels(4, 4, kRed);
        return true;
    });
    Graphics g(Screen());
    g.DrawImage(&image, 0, 0);
    ASSERT_TRUE(image.ArePixelsReleased());
    const std::uint32_t blue = 0xFF0000FFu;
    ASSERT_TRUE(image.WriteArea(Rect{1, 1, 1, 1}, &blue));
    EXPECT_FALSE(image.ArePixelsReleased());
    ASSERT_TRUE(image.UploadTexture());
    EXPECT_FALSE(image.ArePixelsReleased()) << "the file would lose the written pixel";
    EXPECT_EQ(blue, image.GetPixel(1, 1));
    EXPECT_EQ(kRed, image.GetPixel(2, 2));
}

} // namespace
