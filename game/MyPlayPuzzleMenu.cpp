#include "game/MyPlayPuzzleMenu.h"

#include "puzzle/TutorialGrid.h"

#include "game/ConfirmMainMenu.h"
#include "game/ConfirmPuzzleSelectMenu.h"
#include "game/LevelCompleteMenu.h"
#include "game/LevelFailMenu.h"
#include "game/OptionsMenu.h"
#include "puzzle/PuzzleTable.h"

MyPlayPuzzleMenu::MyPlayPuzzleMenu(int mode, int set, int puzzle)
    : PlayPuzzleMenu(mode, set, puzzle), m_mode(mode), m_set(set), m_puzzle(puzzle)
{
}

bool MyPlayPuzzleMenu::Open(int mode, int set, int puzzle, bool wrapped)
{
    if (gPuzzleTable.Find(mode, set, puzzle) == nullptr)
        return false;
    auto* screen = new MyPlayPuzzleMenu(mode, set, puzzle);
    if (wrapped)
        screen->ShowWrapped();
    else
        screen->Show();
    return true;
}

void MyPlayPuzzleMenu::ShowLevelComplete(int seconds, int mistakes, int hints)
{
    // The picture goes to the dialog, which owns it from here on.
    (new LevelCompleteMenu(m_mode, m_set, m_puzzle, seconds, mistakes, hints, HandOverArtGrid(),
                           IsFirstSolve()))
        ->Show();
}

void MyPlayPuzzleMenu::ShowLevelFail(int seconds, int mistakes, int hints)
{
    (new LevelFailMenu(m_mode, m_set, m_puzzle, seconds, mistakes, hints))->Show();
}

void MyPlayPuzzleMenu::ShowOptions()
{
    (new OptionsMenu(L"playing", m_mode, m_set))->Show();
}

void MyPlayPuzzleMenu::ShowLeaveConfirmation()
{
    // No fade target: a dialog fading from this screen would hide the board,
    // and the question would stand on black. The board stays in view, shaded.
    if (m_mode == 0 && m_set == 0)
        (new ConfirmMainMenu(nullptr))->Show();
    else
        (new ConfirmPuzzleSelectMenu(m_mode, m_set, nullptr))->Show();
}

PlayTileGrid* MyPlayPuzzleMenu::MakeGrid(bool tutorial)
{
    if (tutorial)
        return new TutorialGrid(m_mode, m_set, m_puzzle);
    return PlayPuzzleMenu::MakeGrid(tutorial);
}
