#pragma once

#include "app/Menu.h"

class GameApp;

// A start-up screen (the maker's logo, a splash image): it closes itself once, on its own clock or at a
// click, and the application then shows the next one.
class IntroScreen : public Menu
{
public:
    explicit IntroScreen(GameApp& app);

    // Closes the screen and moves the application on; only the first call acts. Apart from the script's
    // Finish: a script that stops on this screen leaves it running.
    void FinishScreen();
    // True once finished: a screen that cannot show anything is finished from the start and never shown.
    bool IsScreenFinished() const { return m_finished; }

protected:
    void MarkFinished() { m_finished = true; }

private:
    bool m_finished = false;
};
