#pragma once

#include "app/InterpreterMenu.h"

class MyGameApp;

// The opening letter, addressed to the player; "ok" offers the tutorial over
// it.
class StoryIntroMenu : public InterpreterMenu
{
public:
    explicit StoryIntroMenu(MyGameApp& app);

    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;

private:
    MyGameApp& m_game;
};
