#pragma once

#include "resources/Parser.h"

#include <string>

// Reads sets.xml into the global set table.
class SetStats : public Parser
{
public:
    // Reads properties/sets.xml.
    SetStats();
    explicit SetStats(const std::string& path);

protected:
    void HandleElementStart(const std::wstring& name) override;
    void HandleElementEnd(const std::wstring& name) override;

private:
    int mode{-1};
    int set{-1};
};
