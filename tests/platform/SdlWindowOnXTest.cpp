#include "platform/InputEvent.h"
#include "platform/sdl/SdlWindow.h"
#include "support/VirtualDisplay.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <tuple>

namespace {

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
