#include "puzzle/PuzzleIcon.h"

#include "graphics/Graphics.h"
#include "graphics/ImageSurface.h"
#include "puzzle/ArtTiles.h"
#include "puzzle/PuzzleRecord.h"
#include "resources/Value.h"
#include "ui/AnimationWidget.h"

PuzzleIcon::PuzzleIcon(int x, int y, const PuzzleRecord& record, bool isNew)
    : DynamicWidget(x, y, nullptr, 1.0f)
{
    Resize(static_cast<float>(x - kSize / 2), static_cast<float>(y - kSize / 2), kSize, kSize);
    SetupArtTiles();
    auto* surface = new ImageSurface();
    if (surface->Create(kSize, kSize)) {
        Graphics g(surface);
        g.Translate(3.0f, 3.0f);
        const int n = record.GridSize();
        if (n > 0) {
            const double cellSize = 40.0 / n;
            for (int column = 0; column < n && column < static_cast<int>(record.picture.size()); ++column)
                for (int row = 0; row < static_cast<int>(record.picture[column].size()); ++row)
                    DrawArtTile(&g, cellSize, record.picture[column][row], column, row);
        }
        g.FlushBatch();
    }
    SetImage(surface);
    SetOwnsImage(true);
    Resize(static_cast<float>(x - kSize / 2), static_cast<float>(y - kSize / 2), kSize, kSize);
    if (isNew) {
        auto* sparkles = new AnimationWidget(L"new_puzzle_sparkles", 0, 0, false);
        sparkles->SetVariable(L"width", Value(kSize));
        sparkles->SetVariable(L"height", Value(kSize));
        AddWidget(sparkles);
    }
}
