#pragma once

#include "app/Menu.h"

class GameApp;
class Image;

// The title screen. It never pauses, and while it exists gTitleScreen points
// at it.
class TitleScreen : public Menu
{
public:
    TitleScreen(GameApp& app, Image* image);
    ~TitleScreen() override;

    bool IsUpdateSuspended() override { return false; }
    virtual void Refresh();
    // Resets the game, then closes.
    void Close();
};

extern TitleScreen* gTitleScreen;
