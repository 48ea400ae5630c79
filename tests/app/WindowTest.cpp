#include "platform/sdl/SdlCursor.h"
#include "platform/sdl/SdlWindow.h"
#include "support/VirtualDisplay.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

namespace {

class SdlWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { setenv("SDL_VIDEODRIVER", "offscreen", 0); }
};

TEST_F(SdlWindowTest, OpensHiddenWithTitleAndSizeThenShows)
{
    SdlWindow window;
    ASSERT_TRUE(window.Create({.title = "Tarnvale 6", .width = 1024, .height = 768, .windowed = true}))
        << window.GetError();
    EXPECT_FALSE(window.IsShown());
    EXPECT_STREQ(SDL_GetWindowTitle(window.GetSdlWindow()), "Tarnvale 6");
    int width = 0;
    int height = 0;
    window.GetClientSize(width, height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);

    window.Show();
    EXPECT_TRUE(window.IsShown());
    window.Hide();
    EXPECT_FALSE(window.IsShown());
}

TEST_F(SdlWindowTest, CursorsWithoutADisplayAreRefusedQuietly)
{
    SdlWindow window;
    ASSERT_TRUE(window.Create({.title = "Tarnvale 6"})) << window.GetError();
    SdlCursor cursor;
    for (int kind = -1; kind < 6; ++kind)
        cursor.SetSystemCursor(kind);
    std::vector<std::uint32_t> pixels(16 * 16, 0xFFFFFFFFu);
    bool accepted = cursor.SetImageCursor(pixels, 16, 16, 0, 0);
    // The offscreen driver has no cursors: the loop then draws the image.
    if (std::string(SDL_GetCurrentVideoDriver()) == "offscreen") {
        EXPECT_FALSE(accepted);
    }
    EXPECT_FALSE(cursor.SetImageCursor(pixels, 16, 17, 0, 0));
}

// Full screen on an X server without a window manager, which never answers SDL's request for it: the
// window covers the screen it gets, and the size the game draws for is the size the screen shows. Back in
// a window it is 1024 x 768 again.
TEST(SdlWindowOnXTest, FullScreenWithoutAWindowManagerCoversTheScreen)
{
    for (const auto& [screen, width, height] :
         {std::tuple{"1280x1024x24", 1280, 1024}, std::tuple{"1024x768x24", 1024, 768}}) {
        SCOPED_TRACE(screen);
        VirtualDisplay display(screen);
        ASSERT_TRUE(display.IsReady()) << "Xvfb did not start";
        SdlWindow window;
        ASSERT_TRUE(window.Create({.title = "Tarnvale 6", .width = 1024, .height = 768, .windowed = false}))
            << window.GetError();
        window.Show();
        InputEvent event;
        while (window.PollEvent(event)) {
        }
        const ServerGeometry whole{0, 0, width, height};
        int clientWidth = 0;
        int clientHeight = 0;
        EXPECT_FALSE(window.IsWindowed());
        EXPECT_EQ(GetServerGeometry(window.GetSdlWindow()), whole);
        window.GetClientSize(clientWidth, clientHeight);
        EXPECT_EQ(clientWidth, width);
        EXPECT_EQ(clientHeight, height);

        ASSERT_TRUE(window.SetWindowed(true));
        const ServerGeometry windowed = GetServerGeometry(window.GetSdlWindow());
        EXPECT_EQ(windowed.width, 1024);
        EXPECT_EQ(windowed.height, 768);
        window.GetClientSize(clientWidth, clientHeight);
        EXPECT_EQ(clientWidth, 1024);
        EXPECT_EQ(clientHeight, 768);

        ASSERT_TRUE(window.SetWindowed(false));
        EXPECT_EQ(GetServerGeometry(window.GetSdlWindow()), whole);
        window.GetClientSize(clientWidth, clientHeight);
        EXPECT_EQ(clientWidth, width);
        EXPECT_EQ(clientHeight, height);
    }
}

} // namespace
