#pragma once

#include "app/InterpreterMenu.h"

// The opening letter, addressed to the player; "ok" offers the tutorial over
// it.
class StoryIntroMenu : public InterpreterMenu
{
public:
    StoryIntroMenu();

    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;
};
