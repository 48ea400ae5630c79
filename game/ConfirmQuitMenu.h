#pragma once

#include "game/ShadedConfirmMenu.h"

// Asks before the game ends; yes shuts the application down.
class ConfirmQuitMenu : public ShadedConfirmMenu
{
public:
    ConfirmQuitMenu();

    void Confirm() override;
};
