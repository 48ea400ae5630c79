#pragma once

#include "puzzle/PlayPuzzleMenu.h"

class MyGameApp;

// The game's play screen: its options button opens the options dialog, its
// menu button asks before leaving (for the main menu from the first set, else
// for the set's puzzle choice), and at the end of a puzzle it opens the
// level-complete or the level-fail dialog over the finished board.
class MyPlayPuzzleMenu : public PlayPuzzleMenu
{
public:
    MyPlayPuzzleMenu(MyGameApp& app, int mode, int set, int puzzle);

    // Shows a play screen on the puzzle (wrapped: inside a screen
    // transition); false when there is no such puzzle.
    static bool Open(MyGameApp& app, int mode, int set, int puzzle, bool wrapped);

    int GetMode() const { return m_mode; }
    int GetSet() const { return m_set; }
    int GetPuzzle() const { return m_puzzle; }

protected:
    void ShowLevelComplete(int seconds, int mistakes, int hints) override;
    void ShowLevelFail(int seconds, int mistakes, int hints) override;
    void ShowOptions() override;
    void ShowLeaveConfirmation() override;
    PlayTileGrid* MakeGrid(bool tutorial) override;

private:
    MyGameApp& m_game;
    int m_mode = 0;
    int m_set = 0;
    int m_puzzle = 0;
};
