#include "game/ConfirmTutorialMenu.h"

#include "game/MyGameApp.h"
#include "game/SetLoadingMenu.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "resources/Localization.h"

#include <algorithm>

ConfirmTutorialMenu::ConfirmTutorialMenu(MyGameApp& app)
    : ShadedConfirmMenu(app, Localize(L"confirm_tutorial_title"), Localize(L"confirm_tutorial_text"),
                        L"button_yes", L"button_no", nullptr)
{
}

void ConfirmTutorialMenu::Confirm()
{
    GetGame().MarkMenusForClose();
    GetGame().CloseMarkedMenus();
    // The first primer puzzle comes in under the screen transition.
    GetGame().ShowWrappedPlayScreen(0, 0, 0);
    CloseOnce();
}

void ConfirmTutorialMenu::Close()
{
    // Asked again while already leaving (a second click, or after "yes"):
    // the decline runs at most once.
    if (IsRemoveRequested() || IsClosing() || GetFadeState() == Fade::FadingOut)
        return;
    if (PlayerState* state = GetCurrentPlayerState()) {
        if (SetProgress* tutorial = state->EnsureSet(0, 0)) {
            tutorial->unlock = std::max(tutorial->unlock, static_cast<int>(tutorial->puzzles.size()));
            for (PuzzleProgress& puzzle : tutorial->puzzles)
                puzzle.completed = true;
        }
        // A player who already reached further keeps it.
        if (SetProgress* first = state->EnsureSet(0, 1))
            first->unlock = std::max(first->unlock, 1);
        state->currentCountry = 1;
        state->currentMode = 0;
    }
    GetGame().MarkMenusForClose();
    GetGame().CloseMarkedMenus();
    (new SetLoadingMenu(GetGame(), -1))->Show();
    CloseOnce();
}
