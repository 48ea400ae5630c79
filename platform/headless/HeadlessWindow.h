#pragma once

#include "platform/Window.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>

// A window without a device for tests: it records what the application asked
// of it and hands out the records a test injects.
class HeadlessWindow : public Window
{
public:
    bool Create(const WindowOptions& options) override;
    void Show() override { m_shown = true; }
    void Hide() override { m_shown = false; }
    bool IsShown() const override { return m_shown; }

    bool SetWindowed(bool windowed) override;
    bool IsWindowed() const override { return m_windowed; }
    void SetStretched(bool stretched) override { m_stretched = stretched; }
    bool IsStretched() const override { return m_stretched; }

    void GetClientSize(int& width, int& height) const override;
    bool HasFocus() const override { return m_focused; }

    bool PollEvent(InputEvent& event) override;
    bool IsQuitPending() override;
    // Counts the call and returns at once. With nothing pending, the current
    // clock first moves on by the time set with SetQuietTime (at most the
    // timeout), as if nothing happened for that long; 0 by default, so tests
    // that step the clock themselves see no difference.
    void WaitForEvent(uint32_t timeoutMs) override;
    void Wake() override {}
    void SetMouseCapture(bool captured) override { m_captured = captured; }
    void SetDisplayLostHandler(std::function<void()> handler) override { m_displayLost = std::move(handler); }

    const std::string& GetError() const override { return m_error; }

    // Test controls.
    void Inject(const InputEvent& event);
    void SetFocused(bool focused) { m_focused = focused; }
    void SetFullScreenAvailable(bool available) { m_fullScreenAvailable = available; }
    void SetWindowedAvailable(bool available) { m_windowedAvailable = available; }
    void SetFailCreate(bool fail) { m_failCreate = fail; }
    // The client area as the desktop resized it (the created size until then).
    void SetClientSize(int width, int height);
    bool IsCreated() const { return m_created; }
    bool IsMouseCaptured() const { return m_captured; }
    const WindowOptions& GetOptions() const { return m_options; }
    int GetModeSwitchCount() const { return m_modeSwitches; }
    int GetWaitCount() const { return m_waits; }
    void SetQuietTime(uint32_t ms) { m_quietMs = ms; }
    // Runs the display-lost handler as the SDL window does when its display goes away, without ending the
    // program; false when none is set.
    bool LoseDisplay();

private:
    WindowOptions m_options;
    int m_clientWidth{0};
    int m_clientHeight{0};
    std::deque<InputEvent> m_pending;
    std::string m_error;
    bool m_created{false};
    bool m_shown{false};
    bool m_windowed{true};
    bool m_stretched{false};
    bool m_focused{true};
    bool m_captured{false};
    bool m_fullScreenAvailable{true};
    bool m_windowedAvailable{true};
    bool m_failCreate{false};
    int m_modeSwitches{0};
    int m_waits{0};
    uint32_t m_quietMs{0};
    std::function<void()> m_displayLost;
};
