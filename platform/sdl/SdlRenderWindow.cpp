#include "platform/sdl/SdlRenderWindow.h"

#include "platform/sdl/SdlRenderDevice.h"

#include <SDL.h>

#include <cstdlib>

SdlRenderWindow::SdlRenderWindow(int width, int height)
{
    if (std::getenv("SDL_VIDEODRIVER") == nullptr)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengles2");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        m_error = std::string("SDL_InitSubSystem: ") + SDL_GetError();
        return;
    }
    m_videoStarted = true;
    m_window = SDL_CreateWindow("Tarnvale 6", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                SDL_WINDOW_HIDDEN);
    if (m_window == nullptr) {
        m_error = std::string("SDL_CreateWindow: ") + SDL_GetError();
        return;
    }
    m_device = SdlRenderDevice::Create(m_window, false, &m_error);
}

SdlRenderWindow::~SdlRenderWindow()
{
    m_device.reset();
    if (m_window != nullptr)
        SDL_DestroyWindow(m_window);
    if (m_videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::unique_ptr<SdlRenderDevice> SdlRenderWindow::TakeDevice()
{
    return std::move(m_device);
}
