#pragma once

#include "puzzle/GridCell.h"

#include <functional>
#include <utility>
#include <vector>

class AppHarness;
class Grid;

// The middle of a cell of the board, in window pixels.
std::pair<int, int> CellCentre(Grid& grid, GridCell cell);
// A drag from cell to cell with the left (reveal) or the right (mark)
// button, then two ticks.
void DragCells(AppHarness& harness, Grid& grid, GridCell from, GridCell to, bool rightButton = false);
// Reveals the tiles of the solution ([column][row], non-zero a tile) that
// the board has not decided yet, one drag per run of a row, calling
// afterEachDrag after each.
void RevealSolution(AppHarness& harness, Grid& grid, const std::vector<std::vector<int>>& tiles,
                    const std::function<void()>& afterEachDrag = {});
