#include "game/MyPlayPuzzleMenu.h"

#include "game/ConfirmMainMenu.h"
#include "game/ConfirmPuzzleSelectMenu.h"
#include "game/OptionsMenu.h"

MyPlayPuzzleMenu::MyPlayPuzzleMenu(int mode, int set, int puzzle)
    : PlayPuzzleMenu(mode, set, puzzle), m_mode(mode), m_set(set)
{
}

void MyPlayPuzzleMenu::ShowOptions()
{
    (new OptionsMenu(L"playing", m_mode, m_set))->Show();
}

void MyPlayPuzzleMenu::ShowLeaveConfirmation()
{
    if (m_mode == 0 && m_set == 0)
        (new ConfirmMainMenu(this))->Show();
    else
        (new ConfirmPuzzleSelectMenu(m_mode, m_set, this))->Show();
}
