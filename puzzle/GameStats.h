#pragma once

#include "resources/Parser.h"

#include <string>

// Reads game.xml into the global grid-size table; a later grid of the same
// size replaces an earlier one.
class GameStats : public Parser
{
public:
    // Reads properties/game.xml.
    GameStats();
    explicit GameStats(const std::string& path);

protected:
    void HandleElementStart(const std::wstring& name) override;
};
