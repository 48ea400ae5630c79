#pragma once

#include "app/DialogMenu.h"

#include <string>

class GameApp;

// A question on the dialog panel, laid out by the script "confirm_menu" from
// the variables "title", "text", "ok_text" and "cancel_text". The action "ok"
// confirms, "close" only closes.
class ConfirmMenu : public DialogMenu
{
public:
    ConfirmMenu(GameApp& app, const std::wstring& title, const std::wstring& text, const std::wstring& okText,
                const std::wstring& cancelText, Widget* fadeTarget);

    // Closes; the game's confirmations act first.
    virtual void Confirm();

    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;
};
