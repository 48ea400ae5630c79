#pragma once

#include <string>

class D3DInterface;
class NoticeMenuMaker;
class ScriptGlobalStore;
class ScriptServices;
class Widget;

// What the widgets need from the application that shows them. A widget reaches it through its tree
// (Widget::GetHost: the manager's host, handed down to every widget added under it) or is given it at
// construction; it must outlive every widget that points to it. Without one (a widget outside any tree)
// widgets work alone: nothing is deleted later, the cursor stays, updates are never suspended and the
// window counts as focused.
class WidgetHost
{
public:
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

    // What the scripts of the tree use: the application's own commands and sound channels, the notice of
    // "notice-menu", and the store of the global variables. Null where the host has none (then the
    // commands that need one do nothing).
    virtual ScriptServices* GetScriptServices();
    virtual NoticeMenuMaker* GetNoticeMenuMaker();
    virtual ScriptGlobalStore* GetScriptGlobalStore();

protected:
    virtual ~WidgetHost() = default;
};
