#pragma once

class Widget;

// What a script asks of the menu that owns its host (the host's suspend
// owner): looping sounds that pause with the menu, and whether the menu keeps
// running in the background.
class ScriptMenuHooks
{
public:
    virtual ~ScriptMenuHooks() = default;

    virtual void StartLoopSound(int id, float fade) = 0;
    // An id the menu no longer counts is ignored.
    virtual void StopLoopSound(int id, float fade) = 0;
    virtual bool GetPauseInBackground() const = 0;
    virtual void SetPauseInBackground(bool pause) = 0;
    // The menu as a widget, for objects added to the menu itself.
    virtual Widget* GetMenuWidget() = 0;
};
