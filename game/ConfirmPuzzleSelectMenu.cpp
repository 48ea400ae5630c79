#include "game/ConfirmPuzzleSelectMenu.h"

#include "game/MyGameApp.h"
#include "game/PuzzleSelectMenu.h"
#include "resources/Localization.h"

namespace {

std::wstring Key(int mode, const wchar_t* desk, const wchar_t* museum)
{
    return mode > 0 ? desk : museum;
}

} // namespace

ConfirmPuzzleSelectMenu::ConfirmPuzzleSelectMenu(MyGameApp& app, int mode, int set, Widget* owner)
    : ShadedConfirmMenu(app, Localize(Key(mode, L"return_to_desk_title", L"return_to_museum_title")),
                        Localize(Key(mode, L"return_to_desk_text", L"return_to_museum_text")),
                        Key(mode, L"button_desk", L"button_museum"), L"button_cancel", owner),
      m_mode(mode), m_set(set)
{
}

void ConfirmPuzzleSelectMenu::Confirm()
{
    MyGameApp& app = GetGame();
    app.StopAllLoops();
    app.MarkMenusForClose();
    (new PuzzleSelectMenu(app, m_mode, m_set, -1, true))->Show();
    app.CloseMarkedMenus();
}
