#include "game/CreditsMenu.h"

#include "base/Common.h"
#include "game/MyBoard.h"
#include "game/MyGameApp.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "resources/Localization.h"

namespace {

// The play-time text takes the hours and the minutes as numbers; a number
// of one takes the singular word, so each mix of singular and plural has a
// text of its own. A text missing from the file falls back to the plural one.
std::wstring PlayTimeFormat(int hours, int minutes)
{
    std::wstring key = L"credits_time";
    if (hours == 1)
        key += L"_one_hour";
    if (minutes == 1)
        key += L"_one_minute";
    return Localize(HasLocalizedText(key) ? key : L"credits_time");
}

} // namespace

CreditsMenu::CreditsMenu(MyGameApp& app) : InterpreterMenu(app, L"credits"), m_game(app)
{
    SetWrapForShow(true);
    SaveProfiles();
    const PlayerState* state = GetCurrentPlayerState();
    const int hours = state != nullptr ? state->hours : 0;
    const int minutes = state != nullptr ? state->minutes : 0;
    SetVariable(L"time", Value(StrFormatW(PlayTimeFormat(hours, minutes), hours, minutes)));
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
