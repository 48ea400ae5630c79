#include "app/ConfirmMenu.h"

ConfirmMenu::ConfirmMenu(GameApp& app, const std::wstring& title, const std::wstring& text,
                         const std::wstring& okText, const std::wstring& cancelText, Widget* fadeTarget)
    : DialogMenu(app, fadeTarget)
{
    SetVariable(L"title", Value(title));
    SetVariable(L"text", Value(text));
    SetVariable(L"ok_text", Value(okText));
    SetVariable(L"cancel_text", Value(cancelText));
    PlayAnimationByName(L"confirm_menu");
}

void ConfirmMenu::Confirm()
{
    Close();
}

void ConfirmMenu::HandleAction(const std::wstring& action, const std::wstring& parameter,
                               DynamicWidget* object)
{
    if (action == L"ok")
        Confirm();
    else
        DialogMenu::HandleAction(action, parameter, object);
}
