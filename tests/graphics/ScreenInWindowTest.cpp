#include "support/GLTest.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/ImageSurface.h"
#include "platform/sdl/SdlRenderDevice.h"
#include "platform/sdl/SdlRenderWindow.h"

#include <memory>
#include <vector>

namespace {

// The screen drawn straight into a window that keeps its pixels: what the
// window holds after each present, and what the screen gives to whoever
// reads or draws from it.
class ScreenInWindowTest : public GLTest
{
protected:
    void Fill(const Rect& area, std::uint32_t argb)
    {
        Graphics g(Screen());
        g.SetColor(Color(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                         static_cast<int>(argb & 0xFF), static_cast<int>(argb >> 24)));
        g.FillRect(area.x, area.y, area.width, area.height);
    }

    // Draws a square and shows only that square, as a frame that changed there.
    void ChangeAndShow(const Rect& area, std::uint32_t argb)
    {
        Fill(area, argb);
        const std::vector<Rect> changed{area};
        Renderer()->Present(true, &changed);
    }

    // The pixel the window's back buffer holds (what the next present shows).
    std::uint32_t WindowPixel(int x, int y)
    {
        std::uint32_t pixel = 0;
        RenderDevice* device = Renderer()->GetDevice();
        EXPECT_TRUE(device->SetRenderTarget(0));
        EXPECT_TRUE(device->ReadPixels(RenderRect{x, y, 1, 1}, &pixel));
        return pixel;
    }

    // A red screen with a blue square, shown whole and then by its changed
    // areas; skipped where the window does not keep its pixels.
    void StartDrawingInTheWindow()
    {
        ASSERT_NE(nullptr, Device());
        Fill(Rect{0, 0, 1024, 768}, kRed);
        Renderer()->Present(true);
        // The first present of areas finds out whether the window keeps its pixels.
        ChangeAndShow(Rect{10, 10, 20, 20}, kBlue);
        if (!Device()->DrawsScreenInWindow())
            GTEST_SKIP() << "this window does not keep its pixels between presents";
    }
};

TEST_F(ScreenInWindowTest, EachChangeReachesTheWindowAndTheScreenReadsTheSame)
{
    StartDrawingInTheWindow();
    if (IsSkipped())
        return;
    ChangeAndShow(Rect{100, 100, 20, 20}, kGreen);
    ChangeAndShow(Rect{200, 300, 20, 20}, kYellow);
    EXPECT_TRUE(Device()->DrawsScreenInWindow());
    const struct
    {
        int x;
        int y;
        std::uint32_t color;
    } expected[] = {{15, 15, kBlue}, {105, 105, kGreen}, {205, 305, kYellow}, {500, 500, kRed}, {99, 99, kRed}};
    for (const auto& at : expected) {
        EXPECT_EQ(at.color, WindowPixel(at.x, at.y)) << at.x << "," << at.y;
        EXPECT_EQ(at.color, ScreenPixel(at.x, at.y)) << at.x << "," << at.y;
    }
}

TEST_F(ScreenInWindowTest, ACaptureTakesTheFrameFromTheWindowAndDrawingGoesOn)
{
    StartDrawingInTheWindow();
    if (IsSkipped())
        return;
    ChangeAndShow(Rect{100, 100, 20, 20}, kGreen);
    std::unique_ptr<ImageSurface> capture(Renderer()->CaptureScreenImage());
    ASSERT_NE(nullptr, capture);
    EXPECT_EQ(kBlue, Pixel(capture.get(), 15, 15));
    EXPECT_EQ(kGreen, Pixel(capture.get(), 105, 105));
    EXPECT_EQ(kRed, Pixel(capture.get(), 500, 500));
    EXPECT_FALSE(Device()->DrawsScreenInWindow()) << "drawing from the screen needs its texture";

    // Shown whole once more, the frame goes back to the window; later changes
    // land beside what was there.
    ChangeAndShow(Rect{200, 300, 20, 20}, kYellow);
    ChangeAndShow(Rect{300, 300, 20, 20}, kBlue);
    EXPECT_TRUE(Device()->DrawsScreenInWindow());
    EXPECT_EQ(kYellow, WindowPixel(205, 305));
    EXPECT_EQ(kBlue, WindowPixel(305, 305));
    EXPECT_EQ(kGreen, WindowPixel(105, 105));
    EXPECT_EQ(kRed, WindowPixel(500, 500));
}

TEST_F(ScreenInWindowTest, AScaledPresentKeepsTheFrameDrawnInTheWindow)
{
    StartDrawingInTheWindow();
    if (IsSkipped())
        return;
    Fill(Rect{100, 100, 20, 20}, kGreen);
    // Shown at half size (as in a smaller window): the texture must hold the
    // whole frame, the change made in the window included.
    const RenderTextureId screen = Screen()->GetRenderTexture();
    Device()->Present(screen, RenderRect{0, 0, 512, 384});
    EXPECT_FALSE(Device()->DrawsScreenInWindow());
    EXPECT_EQ(kGreen, ScreenPixel(105, 105));
    EXPECT_EQ(kBlue, ScreenPixel(15, 15));
    EXPECT_EQ(kRed, ScreenPixel(500, 500));
    EXPECT_EQ(kGreen, WindowPixel(52, 52)) << "the window shows the frame scaled";
}

// The 1024 x 768 screen in a window of another size (full screen on a larger display): the window's size is
// the output size while the screen is being drawn (SDL's own would be the screen's then), so the frame is
// shown letterboxed across the window, not one to one in its corner.
TEST(LargerWindowTest, TheScreenIsShownScaledAcrossTheWindow)
{
    SdlRenderWindow window(1280, 1024);
    ASSERT_TRUE(window.IsValid()) << window.GetError();
    D3DInterface renderer(window.TakeDevice(), 1024, 768);
    RenderDevice* device = renderer.GetDevice();
    if (!device->SupportsBlendModes())
        GTEST_SKIP() << "pixel references do not hold for the " << device->GetName() << " renderer";
    {
        Graphics g(renderer.GetScreenImage());
        g.SetColor(Color(255, 0, 0));
        g.FillRect(0, 0, 1024, 768);
    }
    int width = 0;
    int height = 0;
    ASSERT_TRUE(device->SetRenderTarget(renderer.GetScreenImage()->GetRenderTexture()));
    device->GetOutputSize(width, height);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 1024);

    renderer.Present(false);
    // 1.25 times: 1280 x 960, 32 rows of black above and below.
    const struct
    {
        int x;
        int y;
        std::uint32_t color;
    } expected[] = {{2, 34, kRed}, {1277, 990, kRed}, {1100, 900, kRed}, {640, 10, 0xFF000000u},
                    {640, 1015, 0xFF000000u}};
    ASSERT_TRUE(device->SetRenderTarget(0));
    for (const auto& at : expected) {
        std::uint32_t pixel = 0;
        ASSERT_TRUE(device->ReadPixels(RenderRect{at.x, at.y, 1, 1}, &pixel));
        EXPECT_EQ(at.color, pixel) << at.x << "," << at.y;
    }
}

} // namespace
