#include "support/GLTest.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "platform/sdl/SdlRenderDevice.h"

#include <functional>
#include <memory>

namespace {

std::unique_ptr<Image> Solid(int width, int height, std::uint32_t argb)
{
    return std::make_unique<Image>(
        ImageData{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, argb)});
}

// A solid image with a hole: transparent texels where the rectangle says.
std::unique_ptr<Image> SolidWithHole(int width, int height, std::uint32_t argb, const Rect& hole)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, argb);
    for (int y = hole.y; y < hole.y + hole.height; ++y) {
        for (int x = hole.x; x < hole.x + hole.width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] = 0u;
    }
    return std::make_unique<Image>(ImageData{width, height, std::move(pixels)});
}


class RenderBatchTest : public GLTest
{
protected:
    // Reading a pixel sends what is still gathered.
    long long CallsNow()
    {
        ScreenPixel(0, 0);
        return Device()->GetGeometryCalls();
    }
    long long CallsSince(long long before) { return CallsNow() - before; }
};

TEST_F(RenderBatchTest, QuadsOfOneTextureAndBlendGoOutInOneCall)
{
    ASSERT_NE(nullptr, Device());
    auto red = Solid(8, 8, kRed);
    Graphics g(Screen());
    g.DrawImage(red.get(), 0, 0);
    const long long before = CallsNow();
    for (int i = 0; i < 50; ++i)
        g.DrawImage(red.get(), 10 * i, 20);
    EXPECT_EQ(1, CallsSince(before));
    EXPECT_EQ(kRed, ScreenPixel(3, 23));
    EXPECT_EQ(kRed, ScreenPixel(493, 27));
    EXPECT_EQ(0u, ScreenPixel(8, 23));
}

TEST_F(RenderBatchTest, AChangeOfTextureBlendOrClipKeepsTheDrawingOrder)
{
    ASSERT_NE(nullptr, Device());
    auto red = Solid(20, 20, kRed);
    auto blue = Solid(20, 20, kBlue);
    Graphics g(Screen());
    g.DrawImage(red.get(), 0, 0);
    const long long before = CallsNow();
    // Red, then blue over part of it, then red again over part of the blue.
    g.DrawImage(red.get(), 100, 100);
    g.DrawImage(blue.get(), 110, 100);
    g.DrawImage(red.get(), 120, 100);
    EXPECT_EQ(3, CallsSince(before));
    EXPECT_EQ(kRed, ScreenPixel(105, 105));
    EXPECT_EQ(kBlue, ScreenPixel(115, 105));
    EXPECT_EQ(kRed, ScreenPixel(125, 105));

    // Additive green over red turns it yellow; the plain quad after it is a new call.
    const long long beforeBlend = CallsNow();
    auto green = Solid(10, 10, kGreen);
    g.DrawImage(green.get(), 200, 200);
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    g.DrawImage(red.get(), 200, 200);
    g.SetDrawMode(DRAWMODE_NORMAL);
    g.DrawImage(green.get(), 230, 200);
    EXPECT_EQ(3, CallsSince(beforeBlend));
    EXPECT_EQ(0xFFFFFF00u, ScreenPixel(205, 205));
    EXPECT_EQ(kGreen, ScreenPixel(235, 205));

    // A clip set between two quads of one texture cuts only the second.
    Graphics clipped(Screen());
    clipped.DrawImage(blue.get(), 300, 300);
    clipped.ClipRect(400, 300, 5, 20);
    clipped.DrawImage(blue.get(), 400, 300);
    EXPECT_EQ(kBlue, ScreenPixel(315, 315));
    EXPECT_EQ(kBlue, ScreenPixel(404, 310));
    EXPECT_EQ(0u, ScreenPixel(406, 310));
}

TEST_F(RenderBatchTest, GatheredDrawingsReachATextureBeforeItIsDrawnOrReplaced)
{
    ASSERT_NE(nullptr, Device());
    auto layer = std::make_unique<ImageSurface>(true);
    ASSERT_TRUE(layer->Create(16, 16));
    auto red = Solid(16, 16, kRed);
    Graphics intoLayer(layer.get());
    intoLayer.DrawImage(red.get(), 0, 0);
    // The layer is used as a source right away: its drawing must be done by then.
    Graphics g(Screen());
    g.DrawImage(layer.get(), 50, 50);
    EXPECT_EQ(kRed, ScreenPixel(55, 55));

    // New pixels for an image drawn just before: the earlier drawing keeps the old ones.
    g.DrawImage(red.get(), 80, 50);
    red->SetData(ImageData{16, 16, std::vector<std::uint32_t>(256, kBlue)});
    g.DrawImage(red.get(), 100, 50);
    EXPECT_EQ(kRed, ScreenPixel(85, 55));
    EXPECT_EQ(kBlue, ScreenPixel(105, 55));
}

TEST_F(RenderBatchTest, DestroyingALayerLeavesTheOtherTargetsOfItsSizeAsTheyWere)
{
    ASSERT_NE(nullptr, Device());
    // Half-see-through blue at the corner of the screen, where the device
    // draws when a target of the screen's size goes.
    constexpr std::uint32_t kHalfBlue = 0x80000080u;
    {
        Graphics g(Screen());
        g.SetColor(Color(0, 0, 255, 128));
        g.FillRect(0, 0, 4, 4);
    }
    const std::uint32_t before = ScreenPixel(0, 0);
    EXPECT_COLOR_NEAR(kHalfBlue, before);
    {
        auto layer = std::make_unique<ImageSurface>(true);
        ASSERT_TRUE(layer->Create(Screen()->GetWidth(), Screen()->GetHeight()));
        auto red = Solid(8, 8, kRed);
        Graphics intoLayer(layer.get());
        intoLayer.DrawImage(red.get(), 0, 0);
        EXPECT_EQ(kRed, Pixel(layer.get(), 0, 0));
    }
    EXPECT_EQ(before, ScreenPixel(0, 0));
    auto green = Solid(8, 8, kGreen);
    Graphics g(Screen());
    g.DrawImage(green.get(), 10, 0);
    EXPECT_EQ(kGreen, ScreenPixel(10, 0)) << "the screen is still drawn into";
}

TEST_F(RenderBatchTest, AnOpaqueDrawingOverTheWholeClipDropsWhatItHides)
{
    ASSERT_NE(nullptr, Device());
    auto red = Solid(40, 40, kRed);
    auto blue = Solid(40, 40, kBlue);
    Graphics g(Screen());
    g.ClipRect(100, 100, 20, 20);
    g.DrawImage(red.get(), 90, 90);
    const long long before = CallsNow();
    g.DrawImage(red.get(), 95, 95);
    g.DrawImage(blue.get(), 90, 90);
    EXPECT_EQ(1, CallsSince(before)) << "the red under the blue still went out";
    EXPECT_EQ(kBlue, ScreenPixel(100, 100));
    EXPECT_EQ(kBlue, ScreenPixel(119, 119));
    EXPECT_EQ(0u, ScreenPixel(121, 110));

    // A panel with round corners: its middle rows hide a clip across its whole width.
    auto panel = SolidWithHole(40, 40, kGreen, Rect{0, 0, 3, 3});
    Graphics band(Screen());
    band.ClipRect(200, 210, 40, 8);
    band.DrawImage(red.get(), 200, 200);
    const long long beforeBand = CallsNow();
    band.DrawImage(red.get(), 200, 200);
    band.DrawImage(panel.get(), 200, 200);
    EXPECT_EQ(1, CallsSince(beforeBand));
    EXPECT_EQ(kGreen, ScreenPixel(200, 210));
}

TEST_F(RenderBatchTest, WhatShowsThroughADrawingIsStillDrawnUnderIt)
{
    ASSERT_NE(nullptr, Device());
    auto red = Solid(40, 40, kRed);
    auto blue = Solid(40, 40, kBlue);
    auto green = Solid(40, 40, kGreen);
    // Red filling a 40 x 40 clip at (x, y), then what over() draws in that clip.
    const auto overRed = [&red, this](int x, int y, const std::function<void(Graphics&)>& over) {
        Graphics g(Screen());
        g.ClipRect(x, y, 40, 40);
        g.DrawImage(red.get(), x, y);
        over(g);
    };

    // A hole inside the clip.
    auto holed = SolidWithHole(40, 40, kBlue, Rect{20, 20, 2, 2});
    overRed(0, 0, [&](Graphics& g) { g.DrawImage(holed.get(), 0, 0); });
    EXPECT_EQ(kRed, ScreenPixel(20, 20));
    EXPECT_EQ(kBlue, ScreenPixel(10, 10));

    // A corner of a round panel inside the clip.
    auto panel = SolidWithHole(40, 40, kGreen, Rect{0, 0, 3, 3});
    overRed(50, 50, [&](Graphics& g) { g.DrawImage(panel.get(), 50, 50); });
    EXPECT_EQ(kRed, ScreenPixel(51, 51));
    EXPECT_EQ(kGreen, ScreenPixel(60, 60));

    // Translucent through its colour.
    overRed(100, 0, [&](Graphics& g) {
        g.SetColorizeImages(true);
        g.SetColor(Color(128, 128, 128, 128));
        g.DrawImage(blue.get(), 100, 0);
    });
    EXPECT_TRUE(ColorsNear(0xFF7F0080u, ScreenPixel(110, 10), 2)) << std::hex << ScreenPixel(110, 10);

    // Added to what is under it.
    overRed(150, 0, [&](Graphics& g) {
        g.SetDrawMode(DRAWMODE_ADDITIVE);
        g.DrawImage(green.get(), 150, 0);
    });
    EXPECT_EQ(0xFFFFFF00u, ScreenPixel(160, 10));

    // Short of the clip by a pixel.
    overRed(200, 0, [&](Graphics& g) { g.DrawImage(blue.get(), 201, 0); });
    EXPECT_EQ(kRed, ScreenPixel(200, 10));
    EXPECT_EQ(kBlue, ScreenPixel(201, 10));
}

TEST_F(RenderBatchTest, TexelsLandOnPixelsExactlyAndScaledDrawingsStaySmooth)
{
    ASSERT_NE(nullptr, Device());
    // Black and white texels side by side.
    auto stripes = std::make_unique<Image>(ImageData{2, 1, {0xFF000000u, 0xFFFFFFFFu}});
    Graphics g(Screen());
    g.DrawImage(stripes.get(), 10, 10);
    // The same texture enlarged right after, before anything went out.
    g.DrawImageScaled(stripes.get(), 20, 20, 8, 4);
    EXPECT_EQ(0xFF000000u, ScreenPixel(10, 10));
    EXPECT_EQ(0xFFFFFFFFu, ScreenPixel(11, 10));
    // Halfway between the two texels the enlarged copy is grey.
    const std::uint32_t middle = ScreenPixel(24, 21);
    EXPECT_GT(middle & 0xFFu, 0x20u) << std::hex << middle;
    EXPECT_LT(middle & 0xFFu, 0xE0u) << std::hex << middle;
}

} // namespace
