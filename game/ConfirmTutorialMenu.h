#pragma once

#include "game/ShadedConfirmMenu.h"

// Offers the tutorial after the opening story. Yes plays its first puzzle;
// no counts the tutorial as done and opens the first real set.
class ConfirmTutorialMenu : public ShadedConfirmMenu
{
public:
    ConfirmTutorialMenu();

    void Confirm() override;
    // The "no" (or the panel's close).
    void Close() override;
};
