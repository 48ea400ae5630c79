#include "app/TitleScreen.h"

#include "app/GameApp.h"

TitleScreen* gTitleScreen = nullptr;

TitleScreen::TitleScreen(GameApp& app, Image* image) : Menu(app, image, false, false)
{
    gTitleScreen = this;
}

TitleScreen::~TitleScreen()
{
    if (gTitleScreen == this)
        gTitleScreen = nullptr;
}

void TitleScreen::Refresh()
{
    MarkDirty();
}

void TitleScreen::Close()
{
    GetApp().ResetGame();
    RemoveSelf();
}
