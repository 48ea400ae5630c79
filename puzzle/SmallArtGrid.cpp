#include "puzzle/SmallArtGrid.h"

#include "puzzle/ArtTiles.h"

SmallArtGrid::SmallArtGrid(const std::vector<std::vector<int>>& pictureCells, int x, int y, bool show)
    : SmallGrid(static_cast<int>(pictureCells.size()))
{
    Move(static_cast<float>(x), static_cast<float>(y));
    SetHandCursor(false);
    drawFrame = !show;
    if (show)
        picture = pictureCells;
    SetupArtTiles();
}

void SmallArtGrid::Draw(Graphics* g)
{
    if (drawFrame)
        SmallGrid::Draw(g);
    for (int column = 0; column < static_cast<int>(picture.size()); ++column)
        for (int row = 0; row < static_cast<int>(picture[column].size()); ++row)
            DrawArtTile(g, cellSize, picture[column][row], column, row);
}
