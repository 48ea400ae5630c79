#include "app/IntroScreen.h"

#include "app/GameApp.h"

IntroScreen::IntroScreen(GameApp& app) : Menu(app, nullptr, false, false) {}

void IntroScreen::FinishScreen()
{
    if (m_finished)
        return;
    m_finished = true;
    RemoveSelf();
    GetApp().AdvanceStartupScreens();
}
