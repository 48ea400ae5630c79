#include "puzzle/SmallArtGrid.h"

#include "puzzle/ArtTiles.h"

SmallArtGrid::SmallArtGrid(const std::vector<std::vector<int>>& pictureCells, int x, int y, bool show)
    : SmallGrid(static_cast<int>(pictureCells.size()))
{
    Move(static_cast<float>(x), static_cast<float>(y));
    SetHandCursor(false);
    m_drawFrame = !show;
    if (show)
        m_picture = pictureCells;
    SetupArtTiles();
}

void SmallArtGrid::Draw(Graphics* g)
{
    if (m_drawFrame)
        SmallGrid::Draw(g);
    // A longer column than the board is wide would draw past the frame.
    const size_t n = m_picture.size();
    for (size_t column = 0; column < n; ++column) {
        const std::vector<int>& cells = m_picture[column];
        for (size_t row = 0; row < cells.size() && row < n; ++row)
            DrawArtTile(g, m_cellSize, cells[row], static_cast<int>(column), static_cast<int>(row));
    }
}
