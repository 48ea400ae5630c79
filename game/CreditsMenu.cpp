#include "game/CreditsMenu.h"

#include "base/Common.h"
#include "game/MyBoard.h"
#include "game/MyGameApp.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "resources/Localization.h"

CreditsMenu::CreditsMenu(MyGameApp& app) : InterpreterMenu(app, L"credits"), m_game(app)
{
    SetWrapForShow(true);
    SaveProfiles();
    const PlayerState* state = GetCurrentPlayerState();
    const int hours = state != nullptr ? state->hours : 0;
    const int minutes = state != nullptr ? state->minutes : 0;
    SetVariable(L"time", Value(StrFormatW(Localize(L"credits_time"), hours, minutes)));
    SetVariable(L"version", Value(app.GetVersionText()));
}

void CreditsMenu::HandleAction(const std::wstring& action, const std::wstring&, DynamicWidget*)
{
    if (action != L"mainmenu")
        return;
    if (MyBoard* board = m_game.GetMyBoard())
        board->ShowMainMenu();
    RemoveSelf();
}
