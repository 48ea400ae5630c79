#include "game/ConfirmMainMenu.h"

#include "game/MyBoard.h"
#include "game/MyGameApp.h"
#include "resources/Localization.h"

ConfirmMainMenu::ConfirmMainMenu(MyGameApp& app, Widget* owner)
    : ShadedConfirmMenu(app, Localize(L"return_to_menu_title"), Localize(L"return_to_menu_text"),
                        L"button_menu", L"button_cancel", owner)
{
}

void ConfirmMainMenu::Confirm()
{
    MyGameApp& app = GetGame();
    app.StopAllLoops();
    app.MarkMenusForClose();
    if (MyBoard* board = app.GetMyBoard())
        board->ShowMainMenu();
    app.CloseMarkedMenus();
    CloseOnce();
}
