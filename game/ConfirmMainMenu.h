#pragma once

#include "game/ShadedConfirmMenu.h"

// Asks before leaving for the main menu; yes stops the looping sounds, closes
// every open menu and opens the main menu.
class ConfirmMainMenu : public ShadedConfirmMenu
{
public:
    explicit ConfirmMainMenu(Widget* owner);

    void Confirm() override;
};
