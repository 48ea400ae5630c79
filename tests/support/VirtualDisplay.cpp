#include "support/VirtualDisplay.h"

#include <SDL.h>
#include <SDL_syswm.h>

// Xlib's macros and its Window type stay in this file.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void Restore(const char* name, const std::optional<std::string>& value)
{
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

} // namespace

VirtualDisplay::VirtualDisplay(const std::string& screen)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    m_server = ::fork();
    if (m_server == 0) {
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    // The server picks a free display and writes its number once it listens; the deadline guards a hang.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (m_server > 0 && std::chrono::steady_clock::now() < deadline) {
        pollfd wait{fds[0], POLLIN, 0};
        if (::poll(&wait, 1, 100) <= 0)
            continue;
        char c = 0;
        if (::read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    ::close(fds[0]);
    if (number.empty())
        return;
    if (const char* previous = std::getenv("DISPLAY"))
        m_previousDisplay = previous;
    if (const char* previous = std::getenv("SDL_VIDEODRIVER"))
        m_previousDriver = previous;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    m_ready = true;
}

VirtualDisplay::~VirtualDisplay()
{
    if (m_ready) {
        Restore("DISPLAY", m_previousDisplay);
        Restore("SDL_VIDEODRIVER", m_previousDriver);
    }
    if (m_server > 0) {
        ::kill(m_server, SIGTERM);
        ::waitpid(m_server, nullptr, 0);
    }
}

void VirtualDisplay::Kill()
{
    if (m_server <= 0)
        return;
    ::kill(m_server, SIGKILL);
    ::waitpid(m_server, nullptr, 0);
    m_server = -1;
}

std::ostream& operator<<(std::ostream& out, const ServerGeometry& geometry)
{
    return out << geometry.width << "x" << geometry.height << "+" << geometry.x << "+" << geometry.y;
}

ServerGeometry GetServerGeometry(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11)
        return {};
    Display* display = info.info.x11.display;
    XSync(display, False);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, info.info.x11.window, &attributes) == 0)
        return {};
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, info.info.x11.window, attributes.root, 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}
