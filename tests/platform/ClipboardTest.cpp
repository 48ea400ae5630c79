#include "platform/sdl/SdlClipboard.h"

#include <gtest/gtest.h>

#include <SDL.h>

TEST(SdlClipboard, TheSdlClipboardKeepsUtf8Text)
{
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SdlClipboard clipboard;
    clipboard.SetText("Gr\xC3\xBC\xC3\x9F"
                      "e \xE2\x9C\x93");
    EXPECT_EQ(clipboard.GetText(), "Gr\xC3\xBC\xC3\x9F"
                                   "e \xE2\x9C\x93");
    clipboard.SetText("");
    EXPECT_EQ(clipboard.GetText(), "");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
