#pragma once

#include "app/InterpreterMenu.h"

// The hub of the game: play, players, the bonus sets, tips, credits, options
// and quit. Its script builds the buttons from "lock_bonus" and "from_map".
class MainMenu : public InterpreterMenu
{
public:
    explicit MainMenu(bool fromMap);

    Widget* WrapForShow() override;
    void HandleAction(const std::wstring& action, const std::wstring& parameter, DynamicWidget* object) override;

    bool IsFromMap() const { return m_fromMap; }

private:
    bool m_fromMap{false};
};
