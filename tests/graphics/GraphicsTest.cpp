#include "support/GLTest.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageChild.h"
#include "graphics/ImageSurface.h"
#include "graphics/Transform2D.h"

#include <memory>

namespace {

std::unique_ptr<Image> Solid(int width, int height, std::uint32_t argb)
{
    return std::make_unique<Image>(
        ImageData{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, argb)});
}

// Left half of one colour, right half of another.
std::unique_ptr<Image> Halves(int width, int height, std::uint32_t left, std::uint32_t right)
{
    ImageData data{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            data.pixels.push_back(x < width / 2 ? left : right);
    }
    return std::make_unique<Image>(std::move(data));
}

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

using GraphicsTest = GLTest;

TEST_F(GraphicsTest, NestedClipsFollowTheTranslation)
{
    Graphics g(Screen());
    g.Translate(10, 10);
    g.ClipRect(0, 0, 50, 50);
    g.Translate(20, 20);
    g.ClipRect(0, 0, 100, 100);
    g.SetColor(OpaqueWhite);
    g.FillRect(-100, -100, 1000, 1000);
    EXPECT_EQ(0u, ScreenPixel(29, 29));
    EXPECT_EQ(kWhite, ScreenPixel(30, 30));
    EXPECT_EQ(kWhite, ScreenPixel(59, 59));
    EXPECT_EQ(0u, ScreenPixel(60, 45));
    EXPECT_EQ(0u, ScreenPixel(45, 60));

    // A saved state brings the wider clip back.
    Graphics outer(Screen());
    GraphicsState saved = outer.GetState();
    outer.ClipRect(0, 0, 5, 5);
    outer.SetState(saved);
    outer.SetColor(Color(255, 0, 0));
    outer.FillRect(100, 100, 2, 2);
    EXPECT_EQ(kRed, ScreenPixel(100, 100));
}

TEST_F(GraphicsTest, ColorizingModulatesImagesOnlyWhenSwitchedOn)
{
    auto white = Solid(8, 8, kWhite);
    Graphics g(Screen());
    g.SetColor(Color(255, 0, 0));
    g.DrawImage(white.get(), 0, 0);
    g.SetColorizeImages(true);
    g.DrawImage(white.get(), 10, 0);
    EXPECT_EQ(kWhite, ScreenPixel(4, 4));
    EXPECT_EQ(kRed, ScreenPixel(14, 4));
}

TEST_F(GraphicsTest, AColourWithoutAlphaAddsLight)
{
    auto grey = Solid(8, 8, 0xFF202020u);
    Graphics g(Screen());
    g.SetColor(Color(0x40, 0x40, 0x40));
    g.FillRect(0, 0, 20, 20);
    g.SetColorizeImages(true);
    Color light(255, 255, 255, 0);
    g.SetColor(light);
    g.DrawImage(grey.get(), 0, 0);
    EXPECT_COLOR_NEAR(0xFF606060u, ScreenPixel(4, 4));
}

TEST_F(GraphicsTest, TheColourMultiplierFadesWithItsAlpha)
{
    auto white = Solid(8, 8, kWhite);
    Graphics g(Screen());
    g.SetColor(OpaqueBlack);
    g.FillRect(0, 0, 20, 20);
    g.MultiplyColor(1.0f, 0.0f, 1.0f, 0.5f);
    g.DrawImage(white.get(), 0, 0);
    EXPECT_COLOR_NEAR(0xFF800080u, ScreenPixel(4, 4));
    // Rectangles with straight alpha are premultiplied before the multiplier.
    g.SetColorMultiplier(ColorMultiplier{});
    g.SetColor(Color(255, 0, 0, 128));
    g.FillRect(10, 0, 8, 8);
    EXPECT_COLOR_NEAR(0xFF800000u, ScreenPixel(14, 4));
}

TEST_F(GraphicsTest, CellsAndSourceRectanglesPickTheirPixels)
{
    ImageData data{4, 2, {kRed, kRed, kBlue, kBlue, kWhite, kWhite, 0xFF00FF00u, 0xFF00FF00u}};
    Image image(std::move(data));
    image.SetGrid(2, 2);
    Graphics g(Screen());
    g.DrawImage(&image, 0, 0, 3);
    EXPECT_EQ(0xFF00FF00u, ScreenPixel(0, 0));
    EXPECT_EQ(0xFF00FF00u, ScreenPixel(1, 0));
    EXPECT_EQ(0u, ScreenPixel(2, 0));

    g.DrawImage(&image, 10, 0, Rect{2, 0, 1, 2});
    EXPECT_EQ(kBlue, ScreenPixel(10, 0));
    EXPECT_EQ(0xFF00FF00u, ScreenPixel(10, 1));
    EXPECT_EQ(0u, ScreenPixel(11, 0));

    // Stretching does not bleed in the neighbouring texels.
    g.DrawImage(&image, Rect{20, 0, 10, 10}, Rect{0, 1, 1, 1});
    EXPECT_EQ(kWhite, ScreenPixel(20, 0));
    EXPECT_EQ(kWhite, ScreenPixel(29, 9));
    EXPECT_EQ(0u, ScreenPixel(30, 5));

    g.DrawImageSrcF(&image, 40.0f, 0.0f, FRect(1.0f, 0.0f, 1.0f, 1.0f), 1);
    EXPECT_EQ(kBlue, ScreenPixel(40, 0));
    EXPECT_EQ(0u, ScreenPixel(41, 0));

    g.DrawImageScaled(&image, 50, 0, 4, 4, 2);
    EXPECT_EQ(kWhite, ScreenPixel(53, 3));
}

TEST_F(GraphicsTest, AQuarterTurnThroughAMatrixTurnsClockwise)
{
    auto image = Halves(20, 10, kRed, kBlue);
    Transform2D turn;
    turn.Rotate(90.0f);
    Graphics g(Screen());
    g.DrawImageMatrixCentered(image.get(), turn, 0, 100.0f, 100.0f);
    EXPECT_EQ(kRed, ScreenPixel(100, 92));
    EXPECT_EQ(kBlue, ScreenPixel(100, 107));
    EXPECT_EQ(0u, ScreenPixel(92, 100));
}

TEST_F(GraphicsTest, CullingDropsMirroredDrawings)
{
    auto image = Solid(10, 10, kRed);
    Transform2D mirror;
    mirror.Scale(-1.0f, 1.0f);
    Graphics g(Screen());
    g.SetCulling(true);
    g.DrawImageMatrixCentered(image.get(), mirror, 0, 50.0f, 50.0f);
    EXPECT_EQ(0u, ScreenPixel(50, 50));
    g.DrawImageMatrixCentered(image.get(), Transform2D(), 0, 50.0f, 50.0f);
    EXPECT_EQ(kRed, ScreenPixel(50, 50));
    g.SetCulling(false);
    g.DrawImageMatrixCentered(image.get(), mirror, 0, 80.0f, 50.0f);
    EXPECT_EQ(kRed, ScreenPixel(80, 50));
}

TEST_F(GraphicsTest, AMeshDrawsTheSameAsOneQuadWithoutPerspective)
{
    auto image = Halves(16, 16, kRed, kBlue);
    Graphics g(Screen());
    g.DrawImageMesh(image.get(), Matrix4(), 0, 10.0f, 10.0f, 18.0f, 18.0f, 4, 3);
    g.DrawImage(image.get(), 40, 10);
    for (int y = 10; y < 26; y += 5) {
        for (int x = 0; x < 16; x += 3)
            EXPECT_EQ(ScreenPixel(40 + x, y), ScreenPixel(10 + x, y)) << x << "," << y;
    }
}

TEST_F(GraphicsTest, PushedBackDrawingsShrinkTowardsTheScreenCentre)
{
    auto image = Solid(100, 100, kRed);
    Transform2D far;
    far.Translate(0.0f, 0.0f, 500.0f);
    Graphics g(Screen());
    g.DrawImageMatrixCentered(image.get(), far, 0, 512.0f, 384.0f);
    EXPECT_EQ(kRed, ScreenPixel(512, 384));
    EXPECT_EQ(0u, ScreenPixel(464, 384));
    EXPECT_EQ(kRed, ScreenPixel(482, 384));
}

TEST_F(GraphicsTest, BatchedDrawingsFollowTheirBatchOrderAndStayStable)
{
    Graphics g(Screen());
    g.SetBatching(true);
    g.AddBatchOrder(5);
    g.SetColor(Color(255, 0, 0));
    g.FillRect(0, 0, 10, 10);
    g.AddBatchOrder(-5);
    g.SetColor(Color(0, 0, 255));
    g.FillRect(0, 0, 10, 10);
    g.SetColor(Color(0, 255, 0));
    g.FillRect(20, 0, 10, 10);
    g.SetColor(Color(255, 255, 255));
    g.FillRect(20, 0, 10, 10);
    EXPECT_EQ(0u, ScreenPixel(5, 5)) << "queued until flushed";
    g.SetBatching(false);
    EXPECT_EQ(kRed, ScreenPixel(5, 5));
    EXPECT_EQ(kWhite, ScreenPixel(25, 5));
}

TEST_F(GraphicsTest, AnOffscreenLayerKeepsItsBlendsToItselfAndLandsInOrder)
{
    Graphics g(Screen());
    g.SetColor(Color(0, 0, 255));
    g.FillRect(0, 0, 40, 10);
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    g.SetColor(Color(255, 0, 0));
    g.FillRect(0, 0, 10, 10);
    g.SetOffscreenLayer(true);
    g.FillRect(10, 0, 10, 10);
    EXPECT_EQ(kBlue, ScreenPixel(15, 5)) << "still in the layer";
    g.SetOffscreenLayer(false);
    EXPECT_EQ(0xFFFF00FFu, ScreenPixel(5, 5)) << "added to the target";
    EXPECT_EQ(kRed, ScreenPixel(15, 5)) << "added to the empty layer, then laid over the target";

    // Batched: the layer goes down in the order it was opened with, and
    // what is drawn after it closes lies on top.
    g.SetDrawMode(DRAWMODE_NORMAL);
    g.SetBatching(true);
    g.AddBatchOrder(1);
    g.SetOffscreenLayer(true);
    g.AddBatchOrder(5);
    g.SetColor(Color(0, 255, 0));
    g.FillRect(20, 0, 10, 10);
    g.FillRect(30, 0, 10, 10);
    GraphicsState outside = g.GetState();
    outside.offscreenLayer = false;
    outside.batchOrder = 0;
    g.SetState(outside);
    g.SetColor(OpaqueWhite);
    g.FillRect(30, 0, 10, 10);
    g.AddBatchOrder(3);
    g.FillRect(20, 0, 10, 10);
    g.SetBatching(false);
    EXPECT_EQ(kWhite, ScreenPixel(25, 5)) << "the layer goes down in order 1, under this fill in order 3";
    EXPECT_EQ(0xFF00FF00u, ScreenPixel(35, 5)) << "and over this one in order 0";
}

TEST_F(GraphicsTest, ImagesDrawOnlyThePixelsTheyHold)
{
    auto image = Solid(2, 2, kRed);
    Graphics g(Screen());
    g.DrawImage(image.get(), 0, 0);
    image->SetData(Halves(8, 8, kRed, kBlue)->GetData());
    g.DrawImage(image.get(), 0, 0);
    EXPECT_EQ(kRed, ScreenPixel(1, 6));
    EXPECT_EQ(kBlue, ScreenPixel(6, 6));
    image->SetData(ImageData{1, 1, {0xFF00FF00u}});
    g.DrawImage(image.get(), 20, 0);
    EXPECT_EQ(0xFF00FF00u, ScreenPixel(20, 0));

    // A piece reaching past its atlas draws only what the atlas holds.
    auto atlas = Halves(4, 4, kRed, kBlue);
    ImageChild piece(atlas.get(), Rect{2, 0, 4, 4});
    g.DrawImage(&piece, 30, 0);
    EXPECT_EQ(kBlue, ScreenPixel(31, 2));
    EXPECT_EQ(0u, ScreenPixel(32, 2));
}

TEST_F(GraphicsTest, AMaskKeepsOnlyWhatItsAlphaCovers)
{
    auto image = Solid(10, 10, kRed);
    auto mask = Halves(10, 10, 0xFF000000u, 0x00000000u);
    Graphics g(Screen());
    g.SetColor(Color(0, 0, 255));
    g.FillRect(0, 0, 40, 20);
    g.DrawImageMasked(image.get(), 0, mask.get(), 0, 0.0f, 0.0f);
    EXPECT_EQ(kRed, ScreenPixel(2, 5));
    EXPECT_EQ(kBlue, ScreenPixel(7, 5));
    g.DrawImageMaskRect(image.get(), 0, FRect(0.0f, 0.0f, 3.0f, 10.0f), 20.0f, 0.0f);
    EXPECT_EQ(kRed, ScreenPixel(22, 5));
    EXPECT_EQ(kBlue, ScreenPixel(23, 5));
}

TEST_F(GraphicsTest, ACaptureHoldsWhatWasDrawn)
{
    auto image = Halves(64, 32, 0x80FF8000u, kBlue);
    Graphics g(Screen());
    g.SetColor(Color(10, 200, 30));
    g.FillRect(0, 0, 100, 60);
    g.DrawImage(image.get(), 5, 5);
    std::unique_ptr<ImageSurface> capture(Renderer()->CaptureScreenImage());
    ASSERT_NE(nullptr, capture);
    EXPECT_EQ(1024, capture->GetWidth());
    Rect area{0, 0, 100, 60};
    EXPECT_EQ(m_context->ReadPixels(Screen(), area), m_context->ReadPixels(capture.get(), area));
    // Drawing on afterwards leaves the capture alone.
    g.SetColor(OpaqueWhite);
    g.FillRect(0, 0, 10, 10);
    EXPECT_NE(ScreenPixel(1, 1), Pixel(capture.get(), 1, 1));
}

TEST_F(GraphicsTest, ASurfaceIsDrawnIntoAndThenDrawnItself)
{
    ImageSurface surface;
    ASSERT_TRUE(surface.Create(32, 16));
    {
        Graphics into(&surface);
        into.SetColor(Color(0, 255, 0, 255));
        into.FillRect(0, 0, 16, 16);
        into.SetColor(Color(255, 0, 0, 128));
        into.FillRect(16, 0, 16, 16);
    }
    EXPECT_EQ(0xFF00FF00u, surface.GetPixel(3, 3));
    EXPECT_COLOR_NEAR(0x80FF0000u, surface.GetPixel(20, 3));
    EXPECT_FALSE(surface.IsPlainBitmap());

    Graphics g(Screen());
    g.DrawImage(&surface, 200, 200);
    EXPECT_EQ(0xFF00FF00u, ScreenPixel(205, 205));
    EXPECT_COLOR_NEAR(0x80800000u, ScreenPixel(220, 205));

    surface.Clear();
    EXPECT_EQ(0u, surface.GetPixel(3, 3));
}

TEST_F(GraphicsTest, ASurfaceMadeFromAnImageCopiesItsFirstCell)
{
    Image image(ImageData{2, 1, {kRed, 0x40102030u}});
    image.SetGrid(1, 2);
    std::unique_ptr<ImageSurface> copy(CreateSurfaceFromImageData(&image));
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(1, copy->GetWidth());
    EXPECT_EQ(kRed, copy->GetPixel(0, 0));
    EXPECT_EQ(nullptr, CreateSurfaceFromImageData(nullptr));
}

TEST_F(GraphicsTest, TemporarySurfacesComeBackCleared)
{
    Graphics g(Screen());
    ImageSurface* first = g.GetTempSurface(20, 20);
    ASSERT_NE(nullptr, first);
    Graphics(first).FillRect(0, 0, 20, 20);
    EXPECT_NE(0u, first->GetPixel(5, 5));
    g.ReleaseTempSurface(first);
    ImageSurface* second = g.GetTempSurface(20, 20);
    EXPECT_EQ(first, second);
    EXPECT_EQ(0u, second->GetPixel(5, 5));
    g.ReleaseTempSurface(second);
}

TEST_F(GraphicsTest, AGraphicsWithoutTargetDrawsNothingAndDoesNotFail)
{
    auto image = Solid(4, 4, kRed);
    Graphics g;
    g.FillRect(0, 0, 10, 10);
    g.DrawImage(image.get(), 0, 0);
    g.SetBatching(true);
    g.DrawImage(image.get(), 0, 0);
    g.SetBatching(false);
    EXPECT_EQ(0u, ScreenPixel(1, 1));
}

} // namespace

namespace {

TEST_F(GraphicsTest, AMultipliedMatrixTurnsEverythingDrawnAfterItAboutItsCentre)
{
    // A 20 x 20 "widget" at (100, 100) turned a quarter about its centre;
    // its "child" fills the top-left quarter, which lands top-right.
    Graphics g(Screen());
    g.Translate(100.0f, 100.0f);
    Matrix4 turn;
    turn.Rotate(90.0f);
    g.MultiplyMatrix(turn, 10.0f, 10.0f);
    Graphics child(g);
    child.SetColor(Color(255, 0, 0));
    child.FillRect(0, 0, 10, 10);
    EXPECT_EQ(kRed, ScreenPixel(115, 105));
    EXPECT_EQ(0u, ScreenPixel(105, 105));
    EXPECT_EQ(0u, ScreenPixel(115, 115));
}

TEST_F(GraphicsTest, ASurfaceReadsBackAsImageData)
{
    ImageSurface surface;
    surface.Create(4, 2);
    Graphics into(&surface);
    into.SetColor(Color(0, 0, 255));
    into.FillRect(2, 0, 2, 2);
    ImageData data = surface.ReadImageData();
    ASSERT_EQ(8u, data.pixels.size());
    EXPECT_EQ(0u, data.pixels[0]);
    EXPECT_EQ(kBlue, data.pixels[3]);
}

} // namespace
