#include "game/ShadedConfirmMenu.h"

#include "game/MyGameApp.h"
#include "game/ScreenShade.h"

ShadedConfirmMenu::ShadedConfirmMenu(MyGameApp& app, const std::wstring& title, const std::wstring& text,
                                     const std::wstring& okText, const std::wstring& cancelText,
                                     Widget* owner)
    : ConfirmMenu(app, title, text, okText, cancelText, owner), m_game(app)
{
}

void ShadedConfirmMenu::Draw(Graphics* g)
{
    ShadeScreen(g, *this);
    ConfirmMenu::Draw(g);
}

void ShadedConfirmMenu::Confirm()
{
    CloseOnce();
}

void ShadedConfirmMenu::CloseOnce()
{
    if (IsRemoveRequested() || IsClosing() || GetFadeState() == Fade::FadingOut)
        return;
    DialogMenu::Close();
}
