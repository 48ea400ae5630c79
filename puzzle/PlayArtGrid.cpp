#include "puzzle/PlayArtGrid.h"

#include "base/Common.h"
#include "graphics/Graphics.h"
#include "puzzle/ArtTiles.h"
#include "puzzle/PlayTileGrid.h"
#include "resources/Constants.h"

#include <algorithm>

PlayArtGrid::PlayArtGrid(const PuzzleRecord& record, PlayTileGrid* playGrid) : ArtGrid(record)
{
    const int n = GridSize();
    // Zero ticks to fade in would divide by zero: such cells appear at once.
    fadeTicks = std::max(1, GetConstantInt(L"art_reveal_speed"));
    const int delay = GetConstantInt(L"art_reveal_delay");
    std::vector<int> times(static_cast<std::size_t>(n) * n);
    for (std::size_t i = 0; i < times.size(); ++i)
        times[i] = (20 * static_cast<int>(i + 1)) / std::max(1, n) + delay;
    endTick = fadeTicks + (times.empty() ? delay : times.back());
    for (std::size_t i = 1; i < times.size(); ++i)
        std::swap(times[i], times[static_cast<std::size_t>(Rand(static_cast<int>(i + 1)))]);
    revealTimes.assign(static_cast<std::size_t>(n), std::vector<int>(static_cast<std::size_t>(n), 0));
    for (int column = 0; column < n; ++column)
        for (int row = 0; row < n; ++row)
            revealTimes[column][row] = times[static_cast<std::size_t>(column) * n + row];
    if (playGrid)
        playGrid->FadeTiles(revealTimes, delay);
    if (playGrid)
        Move(playGrid->GetX(), playGrid->GetY());
}

void PlayArtGrid::Update()
{
    ArtGrid::Update();
    ++revealTick;
    MarkDirty();
}

void PlayArtGrid::Draw(Graphics* g)
{
    const int n = GridSize();
    const bool batching = g->IsBatching();
    g->SetBatching(true);
    for (int column = 0; column < n; ++column) {
        for (int row = 0; row < n; ++row) {
            const int t = revealTick - revealTimes[column][row];
            if (t <= 0)
                continue;
            const int opacity = t <= fadeTicks ? t * 255 / fadeTicks : 255;
            DrawArtTile(g, cellSize, cells[column][row], column, row, opacity);
        }
    }
    g->SetBatching(batching);
}
