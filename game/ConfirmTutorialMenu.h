#pragma once

#include "game/ShadedConfirmMenu.h"

class MyGameApp;

// Offers the tutorial after the opening story. Yes plays its first puzzle;
// no counts the tutorial as done and opens the first real set.
class ConfirmTutorialMenu : public ShadedConfirmMenu
{
public:
    explicit ConfirmTutorialMenu(MyGameApp& app);

    void Confirm() override;
    // The "no" (or the panel's close).
    void Close() override;
};
