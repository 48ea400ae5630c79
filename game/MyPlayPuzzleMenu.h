#pragma once

#include "puzzle/PlayPuzzleMenu.h"

// The play screen as the game shows it: its options button opens the options
// dialog, its menu button asks before leaving (for the main menu from the
// first set, else for the set's puzzle choice).
class MyPlayPuzzleMenu : public PlayPuzzleMenu
{
public:
    MyPlayPuzzleMenu(int mode, int set, int puzzle);

protected:
    void ShowOptions() override;
    void ShowLeaveConfirmation() override;

private:
    int m_mode{0};
    int m_set{0};
};
