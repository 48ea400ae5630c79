#include "game/TipsMenu.h"

#include "game/MyBoard.h"
#include "game/MyGameApp.h"

TipsMenu::TipsMenu(MyGameApp& app) : InterpreterMenu(app, L"tips"), m_game(app)
{
    SetWrapForShow(true);
}

void TipsMenu::HandleAction(const std::wstring& action, const std::wstring&, DynamicWidget*)
{
    if (action != L"mainmenu")
        return;
    if (MyBoard* board = m_game.GetMyBoard())
        board->ShowMainMenu();
    RemoveSelf();
}
