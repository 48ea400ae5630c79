#pragma once

#include "app/InterpreterMenu.h"

// The closing letter after the last set; "ok" rolls the credits.
class StoryFinalMenu : public InterpreterMenu
{
public:
    StoryFinalMenu();

    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;
};
