#pragma once

#include "platform/Window.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>

struct SDL_Window;
union SDL_Event;
class X11DisplayWatch;

// The main window on SDL. Its SDL_Window is handed only to the SDL renderer
// backend, which draws into it.
class SdlWindow : public Window
{
public:
    SdlWindow();
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool Create(const WindowOptions& options) override;
    void Show() override;
    void Hide() override;
    bool IsShown() const override;

    bool SetWindowed(bool windowed) override;
    bool IsWindowed() const override { return m_windowed; }
    void SetStretched(bool stretched) override { m_stretched = stretched; }
    bool IsStretched() const override { return m_stretched; }

    void GetClientSize(int& width, int& height) const override;
    bool HasFocus() const override;

    bool PollEvent(InputEvent& event) override;
    bool IsQuitPending() override;
    void WaitForEvent(uint32_t timeoutMs) override;
    void Wake() override;
    void SetMouseCapture(bool captured) override;
    void SetDisplayLostHandler(std::function<void()> handler) override;

    const std::string& GetError() const override { return m_error; }

    SDL_Window* GetSdlWindow() const { return m_window; }
    // Turns one SDL event into the records it stands for (none, one or two).
    void TranslateEvent(const SDL_Event& event);

private:
    void Queue(const InputEvent& event) { m_pending.push_back(event); }
    // Full screen where no window manager answers SDL's request for it (see X11FullScreen.h).
    void CoverTheScreen();
    void LeaveCoveredScreen();

    SDL_Window* m_window{nullptr};
    bool m_videoStarted{false};
    bool m_windowed{true};
    bool m_stretched{false};
    bool m_coversTheScreen{false};
    int m_windowedWidth{0};
    int m_windowedHeight{0};
    std::deque<InputEvent> m_pending;
    std::string m_error;
    std::function<void()> m_displayLostHandler;
    // Made with the window, on X11 only; ended before the video subsystem closes the connection.
    std::unique_ptr<X11DisplayWatch> m_displayWatch;
};
