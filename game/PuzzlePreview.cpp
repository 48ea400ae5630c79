#include "game/PuzzlePreview.h"

#include "graphics/Graphics.h"
#include "puzzle/ArtTiles.h"
#include "puzzle/PuzzleRecord.h"

PuzzlePreview::PuzzlePreview(const PuzzleRecord& record) : m_picture(record.picture)
{
    Resize(0, 0, kWellX + kWellSide, kWellY + kWellSide);
    SetMouseVisible(false);
}

void PuzzlePreview::Draw(Graphics* g)
{
    const int size = static_cast<int>(m_picture.size());
    if (size == 0)
        return;
    const double cell = static_cast<double>(kWellSide) / size;
    const GraphicsState saved = g->GetState();
    g->Translate(static_cast<float>(kWellX), static_cast<float>(kWellY));
    for (int column = 0; column < size; ++column) {
        const std::vector<int>& cells = m_picture[static_cast<size_t>(column)];
        for (int row = 0; row < static_cast<int>(cells.size()) && row < size; ++row)
            DrawArtTile(g, cell, cells[static_cast<size_t>(row)], column, row);
    }
    g->SetState(saved);
}
