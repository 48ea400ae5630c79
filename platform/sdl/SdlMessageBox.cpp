#include "platform/sdl/SdlMessageBox.h"

#include "platform/sdl/SessionBus.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

bool HasDisplay()
{
    // The offscreen and dummy drivers (tests, CI) have no screen to show a box on.
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        return false;
    }
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

bool ShowSdlErrorBox(const std::string& caption, const std::string& message)
{
    // The box may be drawn by a helper program (zenity) that would start a bus of its own just as SDL would.
    SessionBus::KeepOffAnAbsentBus();
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), message.c_str(), nullptr) == 0;
}
