#include "puzzle/ArtGrid.h"

#include "puzzle/ArtTiles.h"
#include "puzzle/PuzzleRecord.h"

ArtGrid::ArtGrid(const PuzzleRecord& record) : Grid(record.picture)
{
    SetupArtTiles();
}
