#pragma once

#include "app/ConfirmMenu.h"

#include <string>

class MyGameApp;

// A confirmation that darkens the whole screen behind its panel. The game's
// questions derive from it; their answers close the dialog through
// CloseOnce, so a dialog that an answer already closed (with every other
// open menu) is not closed a second time, and a "yes" never runs the
// dialog's own "no".
class ShadedConfirmMenu : public ConfirmMenu
{
public:
    ShadedConfirmMenu(MyGameApp& app, const std::wstring& title, const std::wstring& text,
                      const std::wstring& okText, const std::wstring& cancelText, Widget* owner);

    void Draw(Graphics* g) override;
    // Yes: the plain close of the panel, once.
    void Confirm() override;

protected:
    // The panel's own close, unless the dialog is already on its way out.
    void CloseOnce();
    MyGameApp& GetGame() const { return m_game; }

private:
    MyGameApp& m_game;
};
