#pragma once

// Mixed into widgets shown through the application's dialog registry (the
// menus): the registry asks whether the dialog masks the widgets beneath it,
// and tells it once it was added. Widgets without it are plain, non-modal
// dialogs.
class DialogHooks
{
public:
    virtual ~DialogHooks() = default;
    virtual bool IsModal() { return false; }
    virtual void Shown() {}
};
