// The application's calls into the menu family and the board. Those classes
// join the program later; until their headers exist, menus and the board
// cannot be open, so these calls have nothing to reach.
#include "app/GameApp.h"

#include "ui/Widget.h"
#include "ui/WidgetManager.h"

#if __has_include("ui/Menu.h")
#include "ui/Menu.h"
#define TARNVALE_HAS_MENUS 1
#endif
#if __has_include("ui/Board.h")
#include "ui/Board.h"
#define TARNVALE_HAS_BOARD 1
#endif

Widget* GameApp::WrapMenu(Menu* menu)
{
#ifdef TARNVALE_HAS_MENUS
    return menu;
#else
    (void)menu;
    return nullptr;
#endif
}

void GameApp::ActivateMenu(Menu* menu, bool active)
{
#ifdef TARNVALE_HAS_MENUS
    menu->SetActive(active);
#else
    (void)menu;
    (void)active;
#endif
}

void GameApp::KillMenu(Menu* menu)
{
#ifdef TARNVALE_HAS_MENUS
    menu->RemoveSelf();
#else
    (void)menu;
#endif
}

void GameApp::FocusMenu(Menu* menu)
{
#ifdef TARNVALE_HAS_MENUS
    GetWidgetManager()->SetFocus(menu);
#else
    (void)menu;
#endif
}

void GameApp::PauseBoard(bool paused)
{
#ifdef TARNVALE_HAS_BOARD
    if (m_board)
        m_board->SetPaused(paused);
#else
    (void)paused;
#endif
}
