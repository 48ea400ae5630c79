#pragma once

#include "game/ShadedConfirmMenu.h"

#include <string>

class MyGameApp;
class PlayerSelectMenu;

// Asks before a player is deleted; yes has the asking player list delete its
// selected player.
class ConfirmDeleteMenu : public ShadedConfirmMenu
{
public:
    ConfirmDeleteMenu(MyGameApp& app, const std::wstring& profileName, PlayerSelectMenu* asker);

    void Confirm() override;

private:
    PlayerSelectMenu* m_asker{nullptr};
};
