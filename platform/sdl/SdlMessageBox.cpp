#include "platform/sdl/SdlMessageBox.h"

#include "base/Common.h"
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
    const std::string wrapped = WrapForErrorBox(message);
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), wrapped.c_str(), nullptr) == 0;
}

namespace {

// One line broken into lines of at most `columns` characters.
void WrapLine(std::wstring_view line, std::size_t columns, std::wstring& out)
{
    while (line.size() > columns) {
        std::size_t cut = line.rfind(L' ', columns);
        const bool atBlank = cut != std::wstring_view::npos && cut > 0;
        if (!atBlank)
            cut = columns;
        out.append(line.substr(0, cut));
        out += L'\n';
        line.remove_prefix(atBlank ? cut + 1 : cut);
    }
    out.append(line);
}

} // namespace

std::string WrapForErrorBox(const std::string& text, std::size_t columns)
{
    if (columns == 0)
        return text;
    const std::wstring wide = StringToWString(text);
    std::wstring out;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = wide.find(L'\n', start);
        WrapLine(std::wstring_view(wide).substr(start, end == std::wstring::npos ? end : end - start), columns,
                 out);
        if (end == std::wstring::npos)
            break;
        out += L'\n';
        start = end + 1;
    }
    return WStringToString(out);
}
