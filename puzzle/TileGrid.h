#pragma once

#include "puzzle/Clues.h"
#include "puzzle/Grid.h"

// A board of tiles and holes with its clue lists: the runs of tiles in every
// column (top to bottom) and row (left to right).
class TileGrid : public Grid
{
public:
    explicit TileGrid(const std::vector<std::vector<int>>& cellLists);

    const std::vector<ClueList>& GetColumnClues() const { return columnClues; }
    const std::vector<ClueList>& GetRowClues() const { return rowClues; }

protected:
    std::vector<ClueList> columnClues;
    std::vector<ClueList> rowClues;
};
