#pragma once

// Mixed into widgets shown through the application's dialog registry (the
// menus): the registry asks whether the dialog masks the widgets beneath it
// and tells it once it was added; the open-menu list makes one menu the
// active one. Closing goes through the widget's own RemoveSelf, which a menu
// overrides to leave through the registry. Widgets without this mix-in are
// plain, non-modal dialogs.
class DialogHooks
{
public:
    virtual ~DialogHooks() = default;
    virtual bool IsModal() { return false; }
    virtual void Shown() {}
    // The current menu is active; the one it replaced as current is not.
    virtual void SetActive(bool active) { (void)active; }
};
