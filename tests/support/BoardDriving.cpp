#include "support/BoardDriving.h"

#include "puzzle/Grid.h"
#include "puzzle/PlayTileGrid.h"
#include "support/AppHarness.h"

std::pair<int, int> CellCentre(Grid& grid, GridCell cell)
{
    const Vector4 origin = grid.GetScreenOrigin();
    const int size = grid.GetCellSize();
    return {static_cast<int>(origin.x) + cell.column * size + size / 2,
            static_cast<int>(origin.y) + cell.row * size + size / 2};
}

void DragCells(AppHarness& harness, Grid& grid, GridCell from, GridCell to, bool rightButton)
{
    const auto [x1, y1] = CellCentre(grid, from);
    const auto [x2, y2] = CellCentre(grid, to);
    const int clicks = rightButton ? -1 : 1;
    harness.MouseMove(x1, y1);
    harness.MouseDown(x1, y1, clicks);
    harness.MouseMove(x2, y2);
    harness.MouseUp(x2, y2, clicks);
    harness.RunTicks(2);
}

void RevealSolution(AppHarness& harness, Grid& grid, const std::vector<std::vector<int>>& tiles,
                    const std::function<void()>& afterEachDrag)
{
    const auto* play = dynamic_cast<const PlayTileGrid*>(&grid);
    auto decided = [&](int column, int row) { return play != nullptr && play->GetRules().IsDecided({column, row}); };
    const int n = static_cast<int>(tiles.size());
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            if (tiles[column][row] == 0 || decided(column, row))
                continue;
            int end = column;
            while (end + 1 < n && tiles[end + 1][row] != 0)
                ++end;
            DragCells(harness, grid, {column, row}, {end, row});
            if (afterEachDrag)
                afterEachDrag();
            column = end;
        }
    }
}
