#include "support/GLTest.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"

namespace {

Image* SolidImage(int width, int height, std::uint32_t argb)
{
    return new Image(
        ImageData{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, argb)});
}

class DrawModeTest : public GLTest
{
protected:
    // A 20x20 image of the colour drawn over a background of bg, read at the middle.
    std::uint32_t DrawOver(std::uint32_t background, std::uint32_t image, int mode, Color color = OpaqueWhite,
                           bool colorize = false)
    {
        Graphics g(Screen());
        g.SetColor(Color(background));
        g.FillRect(0, 0, 40, 40);
        std::unique_ptr<Image> picture(SolidImage(20, 20, image));
        g.SetDrawMode(mode);
        g.SetColor(color);
        g.SetColorizeImages(colorize);
        g.DrawImage(picture.get(), 10, 10);
        return ScreenPixel(20, 20);
    }
};

TEST_F(DrawModeTest, NormalModeBlendsStraightAlphaImagesOverTheBackground)
{
    EXPECT_COLOR_NEAR(0xFFFF0000u, DrawOver(0xFF0000FFu, 0xFFFF0000u, DRAWMODE_NORMAL));
    // Half-transparent white over blue.
    EXPECT_COLOR_NEAR(0xFF8080FFu, DrawOver(0xFF0000FFu, 0x80FFFFFFu, DRAWMODE_NORMAL));
}

TEST_F(DrawModeTest, EachBlendModeCombinesWithTheTarget)
{
    EXPECT_COLOR_NEAR(0xFF806040u, DrawOver(0xFF402010u, 0xFF404030u, DRAWMODE_ADDITIVE));
    EXPECT_COLOR_NEAR(0xFF400000u, DrawOver(0xFF808080u, 0xFF800000u, DRAWMODE_MULTIPLY));
    EXPECT_COLOR_NEAR(0xFF404030u, DrawOver(0xFF806040u, 0xFF402010u, DRAWMODE_SUBTRACTIVE));
    // Overlay stands in as 2 x source x target, soft light as screen.
    EXPECT_COLOR_NEAR(0xFF804020u, DrawOver(0xFF808080u, 0xFF804020u, DRAWMODE_OVERLAY));
    EXPECT_COLOR_NEAR(0xFFC0C0C0u, DrawOver(0xFF808080u, 0xFF808080u, DRAWMODE_SOFTLIGHT));
    // An unknown mode draws normally.
    EXPECT_COLOR_NEAR(0xFF8080FFu, DrawOver(0xFF0000FFu, 0x80FFFFFFu, 6));
    // Copy replaces the target, alpha included (stored premultiplied).
    EXPECT_COLOR_NEAR(0x80800000u, DrawOver(0xFF0000FFu, 0x80FF0000u, DRAWMODE_COPY));
}

} // namespace
