#pragma once

#include <string>

class D3DInterface;
class Widget;

// What the widgets need from the application that shows them. The application implements it and
// registers itself while it exists; without one (tests of single widgets) widgets work alone: nothing
// is deleted later, the cursor stays, updates are never suspended and the window counts as focused.
class WidgetHost
{
public:
    // The registered host, or null.
    static WidgetHost* Get();
    static void Register(WidgetHost* host);
    // Clears the registration if it is this host.
    static void Unregister(WidgetHost* host);

    // A widget removed from its parent with delete-when-removed set is deleted after the current update;
    // one added again before then stays alive.
    virtual void DeferDelete(Widget* widget) = 0;
    virtual void CancelDeferDelete(Widget* widget) = 0;

    // Pointer cursor kinds: 0 arrow, 1 hand, 2 slider thumb, 3 text; other kinds are the game's own.
    virtual void SetCursor(int kind) = 0;
    virtual int GetCursor() const = 0;

    // While above 0, widgets without a suspend owner skip their updates.
    virtual int GetWidgetSuspension() const = 0;
    // The main window has the input focus.
    virtual bool HasFocus() const = 0;

    // Size of the application area and the renderer drawing it (null before it exists), for mapping
    // widget points to the screen.
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual const D3DInterface* GetRenderer() const = 0;

    // The controls' services; without an application they do nothing.
    // Plays a loaded sound effect once (ids below 0 are never passed).
    virtual void PlaySample(int id);
    // The system clipboard's text, UTF-8.
    virtual void SetClipboard(const std::string& text);
    virtual std::string GetClipboard() const;
    // With the system-caret option the focused edit box keeps the system's
    // text caret at a point of the application area.
    virtual bool UsesSystemCaret() const;
    virtual void PlaceTextCaret(int x, int y);
    virtual void HideTextCaret();
    // The program has been asked to end (its window closed, SIGTERM): work
    // still to come in this update can wait. Asked often: it must be cheap.
    virtual bool IsQuitRequested();

protected:
    virtual ~WidgetHost() = default;
};
