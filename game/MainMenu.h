#pragma once

#include "app/InterpreterMenu.h"

class MyGameApp;

// The hub of the game: play, players, the bonus sets, tips, credits, options
// and quit. Its script builds the buttons from "lock_bonus" and "from_map".
class MainMenu : public InterpreterMenu
{
public:
    MainMenu(MyGameApp& app, bool fromMap);

    Widget* WrapForShow() override;
    void HandleAction(const std::wstring& action, const std::wstring& parameter, DynamicWidget* object) override;

    bool IsFromMap() const { return m_fromMap; }
    // Opens the bonus button once the player's first bonus set has an open
    // puzzle (for example after a typed code) while this menu is up.
    void UpdateBonusLock();

    static bool IsBonusLocked();

private:
    MyGameApp& m_game;
    bool m_fromMap{false};
};
