#include "game/TipsMenu.h"

#include "game/MyBoard.h"
#include "game/MyGameApp.h"

TipsMenu::TipsMenu() : InterpreterMenu(L"tips")
{
    SetWrapForShow(true);
}

void TipsMenu::HandleAction(const std::wstring& action, const std::wstring&, DynamicWidget*)
{
    if (action != L"mainmenu")
        return;
    if (MyGameApp* app = GetMyGameApp(); app != nullptr && app->GetMyBoard() != nullptr)
        app->GetMyBoard()->ShowMainMenu();
    RemoveSelf();
}
