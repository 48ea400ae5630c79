#pragma once

#include "app/InterpreterMenu.h"

// The credits, with the player's time at play (saved first, so the time shown
// is the one kept); "mainmenu" returns to the main menu.
class CreditsMenu : public InterpreterMenu
{
public:
    CreditsMenu();

    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;
};
