#include "game/MyTitleScreen.h"

#include "game/EnterNameMenu.h"
#include "game/MyGameApp.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "resources/Assets.h"
#include "ui/ButtonWidget.h"

MyTitleScreen::MyTitleScreen(MyGameApp& app)
    : TitleScreen(app, ::GetImage(L"TitleBackground")), m_game(app), m_logo(::GetImage(L"GameLogo")),
      m_loadingBarBase(::GetImage(L"Loadingbar_base")), m_loadingBarTop(::GetImage(L"Loadingbar_Top"))
{
    // Without its picture the screen still covers the window.
    if (GetImage() == nullptr)
        Resize(0, 0, app.GetWidth(), app.GetHeight());
}

void MyTitleScreen::OnLoadingComplete()
{
    if (m_playButton != nullptr)
        return;
    const int width = GetWidth();
    const int height = GetHeight();
    m_playButton = AddButton(width / 2, 3 * height / 4, L"play_game_btn", L"", false);
    m_playButton->SetButtonListener(this);
    m_playButton->Move(m_playButton->GetX() - static_cast<float>(m_playButton->GetWidth() / 2),
                       m_playButton->GetY() - static_cast<float>(m_playButton->GetHeight() / 2));
    MarkDirty();
}

void MyTitleScreen::ButtonDepress(int id)
{
    if (m_playButton == nullptr || id != m_playButton->GetId())
        return;
    if (m_game.GetPlayerName().empty()) {
        (new EnterNameMenu(m_game, this))->Show();
        return;
    }
    Close();
}

void MyTitleScreen::Draw(Graphics* g)
{
    TitleScreen::Draw(g);
    const int width = GetWidth();
    const int height = GetHeight();
    if (m_logo != nullptr)
        g->DrawImage(m_logo, (width - m_logo->GetCellWidth()) / 2, 3 * height / 8 - m_logo->GetCellHeight() / 2);
    if (m_playButton != nullptr || m_loadingBarBase == nullptr)
        return;
    const int barY = 3 * height / 4 - m_loadingBarBase->GetCellHeight() / 2;
    g->DrawImage(m_loadingBarBase, (width - m_loadingBarBase->GetCellWidth()) / 2, barY);
    if (m_loadingBarTop == nullptr)
        return;
    const int shown = static_cast<int>(m_game.GetLoadingProgress() * m_loadingBarTop->GetCellWidth());
    if (shown > 0)
        g->DrawImage(m_loadingBarTop, (width - m_loadingBarTop->GetCellWidth()) / 2, barY,
                     Rect{0, 0, shown, m_loadingBarTop->GetCellHeight()});
}
