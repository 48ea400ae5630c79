#pragma once

#include "app/InterpreterMenu.h"

class MyGameApp;

// The pages of tips; "mainmenu" returns to the main menu.
class TipsMenu : public InterpreterMenu
{
public:
    explicit TipsMenu(MyGameApp& app);

    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;

private:
    MyGameApp& m_game;
};
