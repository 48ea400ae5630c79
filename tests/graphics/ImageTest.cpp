#include "graphics/Image.h"
#include "graphics/ImageAtlasPiece.h"
#include "graphics/ImageLoader.h"
#include "resources/AssetLoaders.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// 4 x 2 pixels whose value is 0xFF000000 + 16 * y + x.
ImageData Numbered(int width, int height)
{
    ImageData data{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            data.pixels.push_back(0xFF000000u + static_cast<std::uint32_t>(16 * y + x));
    }
    return data;
}

TEST(ImageTest, CellsSplitTheImageInRowsAndColumns)
{
    Image image(Numbered(4, 2));
    image.SetGrid(2, 2);
    EXPECT_EQ(4, image.GetCellCount());
    EXPECT_EQ(2, image.GetCellWidth());
    EXPECT_EQ(1, image.GetCellHeight());
    EXPECT_EQ((Rect{2, 1, 2, 1}), image.GetCellRect(3));
    // Pixel (1, 0) of cell 3 is pixel (3, 1) of the image.
    EXPECT_EQ(0xFF000013u, image.GetPixel(1, 0, 3));
}

TEST(ImageTest, PixelsOutsideTheCellOrOfAMissingCellReadZero)
{
    Image image(Numbered(4, 2));
    image.SetGrid(1, 2);
    EXPECT_EQ(0u, image.GetPixel(2, 0, 0));
    EXPECT_EQ(0u, image.GetPixel(-1, 0, 0));
    EXPECT_EQ(0u, image.GetPixel(0, 2, 1));
    EXPECT_EQ(0u, image.GetPixel(0, 0, 2));
    EXPECT_EQ(0u, image.GetPixel(0, 0, -1));
    // Alpha comes back in the top byte, as an unsigned value.
    EXPECT_EQ(0xFFu, image.GetPixel(0, 0, 1) >> 24);
}

TEST(ImageTest, AtlasPiecesReadTheirFramesFromTheAtlas)
{
    Image atlas(Numbered(8, 4));
    ImageAtlasPiece piece(&atlas, {Rect{2, 1, 2, 2}, Rect{5, 1, 2, 2}});
    EXPECT_EQ(2, piece.GetCellCount());
    EXPECT_EQ(2, piece.GetCellWidth());
    EXPECT_EQ(0xFF000012u, piece.GetPixel(0, 0, 0));
    EXPECT_EQ(0xFF000026u, piece.GetPixel(1, 1, 1));
    EXPECT_EQ(0u, piece.GetPixel(2, 0, 1));
}

TEST(ImageTest, HostileCellCountsAndAtlasPiecesStayBounded)
{
    Image image(Numbered(4, 2));
    image.SetGrid(65536, 65536);
    EXPECT_EQ(8192 * 8192, image.GetCellCount()) << "no side has more cells than the largest image has pixels";
    EXPECT_EQ(0u, image.GetPixel(0, 0, image.GetCellCount() - 1));

    Image atlas(Numbered(8, 4));
    ImageSource piece;
    piece.m_atlas = &atlas;
    piece.m_file = "atlas";
    piece.m_x = 2147483647;
    piece.m_width = 100;
    piece.m_cols = 2;
    EXPECT_EQ(nullptr, LoadAssetImage(piece, nullptr)) << "cell positions would overflow";
    piece.m_x = 0;
    piece.m_cols = 100000;
    piece.m_rows = 100000;
    EXPECT_EQ(nullptr, LoadAssetImage(piece, nullptr)) << "ten billion cells would fill memory";
    piece.m_cols = 2;
    piece.m_rows = 1;
    std::unique_ptr<Image> sane(LoadAssetImage(piece, nullptr));
    ASSERT_NE(nullptr, sane);
    EXPECT_EQ(2, sane->GetCellCount());
}

TEST(ImageTest, UnloadingKeepsTheSizeAndDropsThePixels)
{
    Image image(Numbered(4, 2));
    image.Unload();
    EXPECT_FALSE(image.HasData());
    EXPECT_EQ(4, image.GetWidth());
    EXPECT_EQ(0u, image.GetPixel(1, 1));
}

TEST(ImageTest, PixelsThatDoNotMatchTheSizeAreRefused)
{
    Image image(ImageData{3, 3, std::vector<std::uint32_t>(4, 0xFFFFFFFFu)});
    EXPECT_FALSE(image.HasData());
    EXPECT_EQ(0u, image.GetPixel(1, 1));
}

} // namespace
