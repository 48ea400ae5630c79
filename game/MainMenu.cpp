#include "game/MainMenu.h"

#include "game/MyBoard.h"
#include "game/MyGameApp.h"
#include "game/PlayerSelectMenu.h"
#include "game/ScreenTransition.h"
#include "game/SelectSetMenu.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "ui/ButtonWidget.h"

MainMenu::MainMenu(MyGameApp& app, bool fromMap)
    : InterpreterMenu(app, L"main_menu"), m_game(app), m_fromMap(fromMap)
{
    SetWrapForShow(true);
    SetPauseInBackground(false);
    SetVariable(L"lock_bonus", Value(IsBonusLocked()));
    SetVariable(L"from_map", Value(fromMap));
}

bool MainMenu::IsBonusLocked()
{
    const PlayerState* state = GetCurrentPlayerState();
    return state == nullptr || state->SetCount(1) == 0 || state->GetUnlock(1, 0) == 0;
}

void MainMenu::UpdateBonusLock()
{
    const Value* wasLocked = FindVariable(L"lock_bonus");
    if (wasLocked == nullptr || !wasLocked->ToBool() || IsBonusLocked())
        return;
    SetVariable(L"lock_bonus", Value(false));
    // Undoes what the script did for a locked button.
    if (auto* bonus = dynamic_cast<ButtonWidget*>(FindObject(L"bonus"))) {
        bonus->SetProperty(L"opacity", 1.0f);
        bonus->SetDisabled(false);
    }
    if (DynamicWidget* note = FindObject(L"locked"))
        note->RemoveSelf();
}

Widget* MainMenu::WrapForShow()
{
    if (m_fromMap)
        return new ScreenTransition(*this, L"mainmenu_transition");
    return InterpreterMenu::WrapForShow();
}

void MainMenu::HandleAction(const std::wstring& action, const std::wstring&, DynamicWidget*)
{
    if (action == L"player_select_link") {
        (new PlayerSelectMenu(m_game))->Show();
        RemoveSelf();
    } else if (action == L"play") {
        if (MyBoard* board = m_game.GetMyBoard())
            board->StartGame();
        RemoveSelf();
    } else if (action == L"bonus") {
        (new SelectSetMenu(m_game, 1))->Show();
        RemoveSelf();
    } else if (action == L"tips" || action == L"credits") {
        // Closed first: the stand-in screens may open a main menu at once.
        RemoveSelf();
        if (action == L"tips")
            m_game.ShowTips();
        else
            m_game.ShowCredits();
    } else if (action == L"options") {
        m_game.ShowOptions(L"main-menu");
    } else if (action == L"quit") {
        m_game.ShowConfirmQuit();
    }
}
