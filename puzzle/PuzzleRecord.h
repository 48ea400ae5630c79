#pragma once

#include <string>
#include <vector>

// One puzzle of puzzles.xml. Cell list k of `tiles` and `picture` is column k
// of the board: each word of the record's text is one row.
struct PuzzleRecord
{
    int GridSize() const { return static_cast<int>(tiles.size()); }

    std::wstring name;
    int difficulty{1};
    int steps{0};
    bool tested{false};
    std::vector<std::vector<int>> tiles;
    std::vector<std::vector<int>> picture;

    // Cleared by the loader when the shape is unusable (ragged, not square,
    // values out of range); the record keeps its index because progress is
    // stored by position.
    bool playable{true};
    std::wstring problem;
};
