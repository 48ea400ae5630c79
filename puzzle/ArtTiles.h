#pragma once

class Graphics;
class Image;

// The pieces the finished pictures are made of: the image "ArtTiles" holds
// the pieces, and a picture value v draws piece v / shades in shade
// v mod shades (shade 0 is the lightest). A negative value draws nothing.

// The most shades the constant "shades" may give a piece: far more greys than the eye tells apart.
inline constexpr int kMaxArtTileShades = 64;

// Reads the image and the constant "shades"; safe to call again.
void SetupArtTiles();
// One picture cell of the given size at (column, row), at the opacity (0-255).
void DrawArtTile(Graphics* g, double cellSize, int value, int column, int row, int opacity = 255);
// The grey a shade is drawn in: 255 for shade 0, darker for each further one.
int ArtTileGrey(int shade, int shades);
int GetArtTileShades();
// The pieces of the image "ArtTiles" (0 without it).
int GetArtTilePieces();
// Pieces times shades: the first value without a piece.
int GetArtTileCount();
