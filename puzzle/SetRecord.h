#pragma once

#include <string>
#include <vector>

// One set of sets.xml: its map data and music.
struct SetRecord
{
    std::wstring name;
    std::wstring wing;
    bool separate{false};
    int x{0};
    int y{0};
    int unlock{0};
    std::vector<int> music;
};
