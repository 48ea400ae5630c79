#pragma once

#include "app/Menu.h"

#include <string>

class GameApp;

// Plays a transition script over a picture of the screen as it was (the
// script's object "screenshot") and shows the following menu (its object
// "menu") beneath; it closes when its script ends, so the script decides how
// long it lasts.
class Transition : public Menu
{
public:
    // captureWidgets: draw the widgets afresh instead of taking the screen as
    // last presented.
    Transition(GameApp& app, const std::wstring& script, Widget* menu, bool captureWidgets);

    void OnScriptFinished() override;
};
