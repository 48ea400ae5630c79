#include "app/TitleScreen.h"

#include "app/GameApp.h"

TitleScreen* gTitleScreen = nullptr;

TitleScreen::TitleScreen(Image* image) : Menu(image, false, false)
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
    if (gApp != nullptr)
        gApp->ResetGame();
    RemoveSelf();
}
