#pragma once

// A cell of a board: column (x, left to right) and row (y, top to bottom).
struct GridCell
{
    int column{0};
    int row{0};

    bool operator==(const GridCell&) const = default;
};
