#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "app/DistributorScreen.h"
#include "game/EnterNameMenu.h"
#include "game/MainMenu.h"
#include "game/MyTitleScreen.h"
#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "resources/Assets.h"
#include "ui/ButtonWidget.h"

namespace {

// The images of a screen the player left let their pixels and textures go
// after a while; drawn again, they come back from their files unchanged.
class ScreensLeftBehindTest : public RealGameTest
{
protected:
    bool ReadsPixels() const override { return true; }

    // The image as drawn on its own, straight alpha.
    static ImageData DrawnAlone(Image* image)
    {
        ImageSurface surface(true);
        surface.Create(image->GetWidth(), image->GetHeight());
        Graphics g(&surface);
        g.DrawImage(image, 0, 0);
        return surface.ReadImageData();
    }
};

TEST_F(ScreensLeftBehindTest, TheTitlesButtonGoesOnceLeftAndComesBackTheSame)
{
    ASSERT_TRUE(PassTheFirstScreens());
    auto* title = dynamic_cast<MyTitleScreen*>(gTitleScreen);
    ASSERT_NE(title, nullptr);
    Harness().RunTicks(100);
    // Only the title shows its play button; the background stays on the main menu.
    Image* button = GetImage(L"play_game_btn");
    Image* background = GetImage(L"TitleBackground");
    ASSERT_NE(button, nullptr);
    ASSERT_NE(background, nullptr);
    ASSERT_NE(0u, button->GetTexture());
    // A still screen keeps what it shows.
    Harness().RunTicks(static_cast<int>(D3DInterface::kIdleImageMs / 10) + 100);
    ASSERT_NE(0u, button->GetTexture());
    const ImageData before = DrawnAlone(button);

    const Vector4 origin = title->GetPlayButton()->GetScreenOrigin();
    const int x = static_cast<int>(origin.x) + title->GetPlayButton()->GetWidth() / 2;
    const int y = static_cast<int>(origin.y) + title->GetPlayButton()->GetHeight() / 2;
    Harness().MouseMove(x, y);
    Harness().Click(x, y);
    Harness().RunTicks(2);
    ASSERT_NE(FindMenu<EnterNameMenu>(), nullptr);
    Harness().TypeText(L"Ann");
    Harness().KeyDown(13);
    Harness().RunTicks(60);
    ASSERT_NE(FindMenu<MainMenu>(), nullptr);
    Harness().RunTicks(static_cast<int>(D3DInterface::kIdleImageMs / 10) + 100);
    EXPECT_EQ(0u, button->GetTexture());
    EXPECT_TRUE(button->ArePixelsReleased());
    EXPECT_NE(0u, background->GetTexture());

    const ImageData after = DrawnAlone(button);
    EXPECT_EQ(before.width, after.width);
    EXPECT_TRUE(before.pixels == after.pixels);
}

} // namespace
