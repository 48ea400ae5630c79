#include "platform/sdl/SdlCursor.h"
#include "platform/sdl/SdlWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
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

} // namespace
