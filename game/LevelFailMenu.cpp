#include "game/LevelFailMenu.h"

#include "game/MyGameApp.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/PuzzleSelectMenu.h"
#include "game/SelectSetMenu.h"
#include "resources/Constants.h"
#include "resources/Value.h"

LevelFailMenu::LevelFailMenu(MyGameApp& app, int mode, int set, int puzzle, int seconds, int mistakes,
                             int hintsUsed)
    : LevelStatusMenu(app, L"level_fail", mode, set, puzzle, seconds, mistakes, hintsUsed),
      m_retryPuzzle(puzzle)
{
    SetVariable(L"intro", Value(mode == 0 && set < GetConstantInt(L"max_intro_set")));
    SetVariable(L"bonus", Value(mode >= 1));
    BeginScript();
}

void LevelFailMenu::Close()
{
    if (!BeginClosing())
        return;
    MyPlayPuzzleMenu::Open(GetGame(), m_mode, m_set, m_retryPuzzle, true);
    RemoveSelf();
}

void LevelFailMenu::Confirm()
{
    if (!BeginClosing())
        return;
    if (m_mode == 0)
        (new PuzzleSelectMenu(GetGame(), m_mode, m_set, -2, false))->Show();
    else
        (new SelectSetMenu(GetGame(), m_mode))->Show();
    RemoveSelf();
}
