#pragma once

#include <cstdint>
#include <vector>

// One run of tiles beside the board; done once the player has finished it.
struct ClueEntry
{
    int32_t length{0};
    bool done{false};
};
using ClueList = std::vector<ClueEntry>;

// Cells are [column][row]; 0 is a hole, anything else a tile. Column clues
// run top to bottom, row clues left to right; an empty line has no entry.
void BuildClues(const std::vector<std::vector<int>>& cells, std::vector<ClueList>& columnClues,
                std::vector<ClueList>& rowClues);

// Regreys one line, given its cell values and decided marks in line order.
// An entry is done when its run and every cell between it and its end of the
// line are decided; all entries are done once every tile of the line is.
void RegreyLine(const std::vector<int>& values, const std::vector<int>& decided, ClueList& clues);
