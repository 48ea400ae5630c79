#pragma once

#include "app/Transition.h"

#include <string>

class Menu;

// Shows a menu beneath a transition script played over a picture of the
// screen as it was. A transition whose script is missing or empty ends at
// once, so it never leaves its modal cover behind.
class ScreenTransition : public Transition
{
public:
    // Over the application that shows the menu.
    explicit ScreenTransition(Menu& menu);
    ScreenTransition(Menu& menu, const std::wstring& script);

    void OnEmptyScript() override;
};
