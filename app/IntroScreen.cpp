#include "app/IntroScreen.h"

#include "app/GameApp.h"

IntroScreen::IntroScreen() : Menu(nullptr, false, false) {}

void IntroScreen::FinishScreen()
{
    if (m_finished)
        return;
    m_finished = true;
    RemoveSelf();
    if (gApp != nullptr)
        gApp->AdvanceStartupScreens();
}
