#pragma once

#include "game/ShadedConfirmMenu.h"

class MyGameApp;

// Asks before leaving for the main menu; yes stops the looping sounds, closes
// every open menu and opens the main menu.
class ConfirmMainMenu : public ShadedConfirmMenu
{
public:
    ConfirmMainMenu(MyGameApp& app, Widget* owner);

    void Confirm() override;
};
