#include "puzzle/ArtTiles.h"

#include "base/Color.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/Transform2D.h"
#include "resources/Assets.h"
#include "resources/Constants.h"

#include <algorithm>

namespace {

Image* gArtTilesImage = nullptr;
int gShades = 1;
int gPieces = 0;

} // namespace

void SetupArtTiles()
{
    gArtTilesImage = ::GetImage(L"ArtTiles");
    gShades = std::max(1, GetConstantInt(L"shades"));
    gPieces = gArtTilesImage ? gArtTilesImage->GetCellCount() : 0;
}

int ArtTileGrey(int shade, int shades)
{
    return ((2 * shades - shade) * 255) / (2 * shades);
}

int GetArtTileShades()
{
    return gShades;
}

int GetArtTilePieces()
{
    return gPieces;
}

int GetArtTileCount()
{
    return gShades * gPieces;
}

void DrawArtTile(Graphics* g, double cellSize, int value, int column, int row, int opacity)
{
    if (value < 0 || !gArtTilesImage || gArtTilesImage->GetCellWidth() <= 0)
        return;
    const int piece = value / gShades;
    if (piece >= gArtTilesImage->GetCellCount())
        return;
    const int grey = ArtTileGrey(value % gShades, gShades);
    const bool colorized = g->GetColorizeImages();
    const Color color = g->GetColor();
    g->SetColorizeImages(true);
    g->SetColor(Color(grey, grey, grey, opacity).Premultiplied());
    const float scale = static_cast<float>(cellSize / gArtTilesImage->GetCellWidth());
    Transform2D transform;
    transform.Scale(scale, scale);
    g->DrawImageMatrixCentered(gArtTilesImage, transform, piece,
                               static_cast<float>((column + 0.5) * cellSize),
                               static_cast<float>((row + 0.5) * cellSize));
    g->SetColorizeImages(colorized);
    g->SetColor(color);
}
