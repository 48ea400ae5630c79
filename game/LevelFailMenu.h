#pragma once

#include "game/LevelStatusMenu.h"

class MyGameApp;

// After the mistakes ran out: "ok" plays the same puzzle again with fresh
// chances, "quit" returns to the puzzle choice (the set list for bonus sets).
// Its script learns "intro" (an early main set) and "bonus" (a bonus set).
class LevelFailMenu : public LevelStatusMenu
{
public:
    LevelFailMenu(MyGameApp& app, int mode, int set, int puzzle, int seconds, int mistakes, int hintsUsed);

    void Close() override;
    void Confirm() override;

private:
    int m_retryPuzzle = 0;
};
