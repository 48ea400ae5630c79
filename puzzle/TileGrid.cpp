#include "puzzle/TileGrid.h"

TileGrid::TileGrid(const std::vector<std::vector<int>>& cellLists) : Grid(cellLists)
{
    BuildClues(cells, columnClues, rowClues);
}
