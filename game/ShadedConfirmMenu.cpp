#include "game/ShadedConfirmMenu.h"

#include "game/ScreenShade.h"

ShadedConfirmMenu::ShadedConfirmMenu(const std::wstring& title, const std::wstring& text,
                                     const std::wstring& okText, const std::wstring& cancelText,
                                     Widget* owner)
    : ConfirmMenu(title, text, okText, cancelText, owner)
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
