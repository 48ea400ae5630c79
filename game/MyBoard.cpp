#include "game/MyBoard.h"

#include "game/MainMenu.h"
#include "game/MyGameApp.h"
#include "game/SetLoadingMenu.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"

#include <algorithm>

MyBoard::MyBoard(MyGameApp& app) : Board(app), m_game(app) {}

void MyBoard::ShowMainMenu()
{
    (new MainMenu(m_game, false))->Show();
}

void MyBoard::StartGame()
{
    PlayerState* state = GetCurrentPlayerState();
    if (state == nullptr)
        return;
    if (state->currentMode == 0 && state->currentCountry == 0) {
        if (!state->IsIntroduced(0, 0)) {
            m_game.ShowStoryIntro();
            return;
        }
        const int tutorialPuzzles = gPuzzleTable.PuzzleCount(0, 0);
        if (tutorialPuzzles > 0 && state->IsCompleted(0, 0, tutorialPuzzles - 1)) {
            // Finishing the tutorial again never takes progress back.
            if (SetProgress* next = state->EnsureSet(0, 1))
                next->unlock = std::max(next->unlock, 1);
            state->currentCountry = 1;
            (new SetLoadingMenu(m_game, -1))->Show();
            return;
        }
        const int unlock = state->GetUnlock(0, 0);
        (new SetLoadingMenu(m_game, unlock < 1 ? 0 : unlock - 1))->Show();
        return;
    }
    // Never past the last main set, whether or not the profile has an entry
    // for it yet, and never outside the table whatever the profile says.
    const int lastSet = std::max(0, gSetTable.SetCount(0) - 1);
    if (state->currentMode == 1)
        state->currentCountry = state->CountCompletedSets(0);
    state->currentCountry = std::clamp(state->currentCountry, 0, lastSet);
    state->currentMode = 0;
    (new SetLoadingMenu(m_game, -1))->Show();
}

BasicPlayerState* MyBoard::GetPlayerState()
{
    return GetCurrentPlayerState();
}

int MyBoard::GetSetCount(int mode)
{
    return gSetTable.SetCount(mode);
}
