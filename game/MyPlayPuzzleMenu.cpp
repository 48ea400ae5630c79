#include "game/MyPlayPuzzleMenu.h"

#include "game/MyGameApp.h"
#include "puzzle/TutorialGrid.h"

#include "game/ConfirmMainMenu.h"
#include "game/ConfirmPuzzleSelectMenu.h"
#include "game/LevelCompleteMenu.h"
#include "game/LevelFailMenu.h"
#include "game/OptionsMenu.h"
#include "puzzle/PuzzleTable.h"

MyPlayPuzzleMenu::MyPlayPuzzleMenu(MyGameApp& app, int mode, int set, int puzzle)
    : PlayPuzzleMenu(app, mode, set, puzzle), m_game(app), m_mode(mode), m_set(set), m_puzzle(puzzle)
{
}

bool MyPlayPuzzleMenu::Open(MyGameApp& app, int mode, int set, int puzzle, bool wrapped)
{
    if (gPuzzleTable.Find(mode, set, puzzle) == nullptr)
        return false;
    auto* screen = new MyPlayPuzzleMenu(app, mode, set, puzzle);
    if (wrapped)
        screen->ShowWrapped();
    else
        screen->Show();
    return true;
}

void MyPlayPuzzleMenu::ShowLevelComplete(int seconds, int mistakes, int hints)
{
    // The picture goes to the dialog, which owns it from here on.
    (new LevelCompleteMenu(m_game, m_mode, m_set, m_puzzle, seconds, mistakes, hints, HandOverArtGrid(),
                           IsFirstSolve()))
        ->Show();
}

void MyPlayPuzzleMenu::ShowLevelFail(int seconds, int mistakes, int hints)
{
    (new LevelFailMenu(m_game, m_mode, m_set, m_puzzle, seconds, mistakes, hints))->Show();
}

void MyPlayPuzzleMenu::ShowOptions()
{
    (new OptionsMenu(m_game, L"playing", m_mode, m_set))->Show();
}

void MyPlayPuzzleMenu::ShowLeaveConfirmation()
{
    // No fade target: a dialog fading from this screen would hide the board,
    // and the question would stand on black. The board stays in view, shaded.
    if (m_mode == 0 && m_set == 0)
        (new ConfirmMainMenu(m_game, nullptr))->Show();
    else
        (new ConfirmPuzzleSelectMenu(m_game, m_mode, m_set, nullptr))->Show();
}

PlayTileGrid* MyPlayPuzzleMenu::MakeGrid(bool tutorial)
{
    if (tutorial)
        return new TutorialGrid(m_game, m_mode, m_set, m_puzzle);
    return PlayPuzzleMenu::MakeGrid(tutorial);
}
