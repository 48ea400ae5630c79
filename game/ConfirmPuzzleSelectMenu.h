#pragma once

#include "game/ShadedConfirmMenu.h"

class MyGameApp;

// Asks before leaving a puzzle for its set's puzzle choice (the desk in the
// main sets, the museum in the bonus sets).
class ConfirmPuzzleSelectMenu : public ShadedConfirmMenu
{
public:
    ConfirmPuzzleSelectMenu(MyGameApp& app, int mode, int set, Widget* owner);

    void Confirm() override;

private:
    int m_mode{0};
    int m_set{0};
};
