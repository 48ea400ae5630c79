#pragma once

#include "app/InterpreterMenu.h"

class MyGameApp;

// The closing letter after the last set; "ok" rolls the credits.
class StoryFinalMenu : public InterpreterMenu
{
public:
    explicit StoryFinalMenu(MyGameApp& app);

    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;

private:
    MyGameApp& m_game;
};
