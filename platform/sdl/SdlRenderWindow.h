#pragma once

#include <memory>
#include <string>

struct SDL_Window;
class SdlRenderDevice;

// A hidden window with a GL renderer, for drawing without showing anything
// (tests and content tools). Sets the offscreen video driver unless one is
// chosen already.
class SdlRenderWindow
{
public:
    SdlRenderWindow(int width, int height);
    ~SdlRenderWindow();
    SdlRenderWindow(const SdlRenderWindow&) = delete;
    SdlRenderWindow& operator=(const SdlRenderWindow&) = delete;

    bool IsValid() const { return m_window != nullptr && m_device != nullptr; }
    const std::string& GetError() const { return m_error; }
    SDL_Window* GetWindow() const { return m_window; }
    // The device, for the caller to own; null after the first call.
    std::unique_ptr<SdlRenderDevice> TakeDevice();

private:
    SDL_Window* m_window = nullptr;
    std::unique_ptr<SdlRenderDevice> m_device;
    std::string m_error;
    bool m_videoStarted = false;
};
