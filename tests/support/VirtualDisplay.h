#pragma once

#include <optional>
#include <ostream>
#include <string>

#include <sys/types.h>

struct SDL_Window;

// An X server of the test's own (Xvfb) with no window manager, for as long as the object lives; SDL windows
// made meanwhile use it (DISPLAY and the x11 video driver are set, and restored afterwards).
class VirtualDisplay
{
public:
    // screen: Xvfb's screen, such as "1280x1024x24".
    explicit VirtualDisplay(const std::string& screen);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool IsReady() const { return m_ready; }
    // Ends the server at once, as a crash would (SIGKILL); DISPLAY stays set until the object goes.
    void Kill();

private:
    pid_t m_server{-1};
    bool m_ready{false};
    std::optional<std::string> m_previousDisplay;
    std::optional<std::string> m_previousDriver;
};

// A window's place and size on the X server, which is what the screen shows (SDL keeps its own idea of it).
struct ServerGeometry
{
    int x{0};
    int y{0};
    int width{0};
    int height{0};
    bool operator==(const ServerGeometry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ServerGeometry& geometry);

// All zero when the window is not on X11.
ServerGeometry GetServerGeometry(SDL_Window* window);
