#include "platform/sdl/X11FullScreen.h"

#include <SDL.h>
#include <SDL_syswm.h>

// Xlib's headers define macros (None, Bool, Status...) that clash with names elsewhere: they stay in this
// file.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

bool WindowManagerShowsFullScreen(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11)
        return true;
    Display* display = info.info.x11.display;
    // Atoms that no client has named yet cannot be in the list: no window manager supports them.
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", True);
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", True);
    if (supported == None || fullScreen == None)
        return false;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, info.info.x11.window, &attributes) == 0)
        return false;
    // The window manager lists the states it handles on the root window, and removes the list when it ends.
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, attributes.root, supported, 0, 4096, False, XA_ATOM, &type, &format,
                           &count, &remaining, &data) == Success &&
        type == XA_ATOM && format == 32 && data != nullptr) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count && !found; ++i)
            found = atoms[i] == fullScreen;
    }
    if (data != nullptr)
        XFree(data);
    return found;
}
