#pragma once

#include "app/InterpreterMenu.h"

// The pages of tips; "mainmenu" returns to the main menu.
class TipsMenu : public InterpreterMenu
{
public:
    TipsMenu();

    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;
};
