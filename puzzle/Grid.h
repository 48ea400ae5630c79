#pragma once

#include "ui/PassiveWidget.h"

#include <vector>

// A square board of integer cells, [column][row], with its frame image. The
// widget's rectangle is the cell area; the frame also covers the room for the
// clue numbers left of and above it.
class Grid : public PassiveWidget
{
public:
    // Used when the board's highlight image is missing, so that pointer
    // positions still map to cells.
    static constexpr int kFallbackCellSize = 32;

    explicit Grid(const std::vector<std::vector<int>>& cellLists);

    void Draw(Graphics* g) override;

    int GridSize() const { return static_cast<int>(cells.size()); }
    int GetCellSize() const { return cellSize; }
    int GetOffsetX() const { return offsetX; }
    int GetOffsetY() const { return offsetY; }
    const std::vector<std::vector<int>>& GetCells() const { return cells; }

    // The margin on both axes for a board of that height: the cells stand at
    // (offsetX + m, offsetY + m) on a screen of that height.
    static int Margin(int screenHeight, int height, int offsetY);

protected:
    std::vector<std::vector<int>> cells;
    int cellSize{kFallbackCellSize};
    int offsetX{0};
    int offsetY{0};
};
