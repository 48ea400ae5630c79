#pragma once

#include <string>
#include <vector>

// A set's name and the display names of its puzzles, by position.
struct SetNames
{
    std::wstring name;
    std::vector<std::wstring> puzzles;
};
