#pragma once

#include "base/ScreenSize.h"
#include "platform/InputEvent.h"

#include <cstdint>
#include <functional>
#include <string>

struct WindowOptions
{
    std::string title;
    int width{kScreenWidth};
    int height{kScreenHeight};
    bool windowed{true};
};

// The application's one window: shown, switched between windowed and full
// screen, and the source of the input records.
class Window
{
public:
    virtual ~Window() = default;

    // False when the window could not be made (the reason is in GetError).
    virtual bool Create(const WindowOptions& options) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsShown() const = 0;

    // False when the mode is not available; the window keeps its mode then.
    virtual bool SetWindowed(bool windowed) = 0;
    virtual bool IsWindowed() const = 0;
    virtual void SetStretched(bool stretched) = 0;
    virtual bool IsStretched() const = 0;

    virtual void GetClientSize(int& width, int& height) const = 0;
    virtual bool HasFocus() const = 0;

    // Takes the next pending record, translating the system's events; false
    // when none is pending.
    virtual bool PollEvent(InputEvent& event) = 0;
    // Whether a request to end (the window closed, SIGTERM, SIGINT) waits
    // among the records, taking none; cheap enough to ask between pieces of
    // a long update.
    virtual bool IsQuitPending() = 0;
    // Blocks until a record may be pending, Wake is called or the time is
    // up, whichever comes first; takes nothing.
    virtual void WaitForEvent(uint32_t timeoutMs) = 0;
    // From any thread: ends a WaitForEvent in progress (or the next one).
    virtual void Wake() = 0;
    // Keeps pointer records flowing while a button is held outside the window.
    virtual void SetMouseCapture(bool captured) = 0;

    // What to do when the display goes away under the window (its server ended, or the connection to it
    // broke). Nothing may be drawn on or asked of it again, so the program ends once the handler returns,
    // with exit code 1 and a message saying why: the handler saves what the player would otherwise lose,
    // and only writes files. It runs on the main thread, or, when the main thread is caught in a call to
    // the display that never returns, on another thread while the main one stays where it is.
    virtual void SetDisplayLostHandler(std::function<void()> handler) = 0;

    virtual const std::string& GetError() const = 0;
};
