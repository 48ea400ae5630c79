#pragma once

#include "app/InterpreterMenu.h"

class MyGameApp;

// The credits, with the player's time at play (saved first, so the time shown
// is the one kept); "mainmenu" returns to the main menu.
class CreditsMenu : public InterpreterMenu
{
public:
    explicit CreditsMenu(MyGameApp& app);

    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;

private:
    MyGameApp& m_game;
};
