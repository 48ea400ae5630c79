#pragma once

#include "app/Menu.h"

class Image;

// The title screen. It never pauses, and while it exists gTitleScreen points
// at it.
class TitleScreen : public Menu
{
public:
    explicit TitleScreen(Image* image);
    ~TitleScreen() override;

    bool IsUpdateSuspended() override { return false; }
    virtual void Refresh();
    // Resets the game, then closes.
    void Close();
};

extern TitleScreen* gTitleScreen;
