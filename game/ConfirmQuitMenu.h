#pragma once

#include "game/ShadedConfirmMenu.h"

class MyGameApp;

// Asks before the game ends; yes shuts the application down.
class ConfirmQuitMenu : public ShadedConfirmMenu
{
public:
    explicit ConfirmQuitMenu(MyGameApp& app);

    void Confirm() override;
};
