#pragma once

#include "puzzle/ArtGrid.h"

#include <vector>

class PlayTileGrid;

// The picture reveal of a solved puzzle: each cell fades in at its own,
// shuffled time while the play grid's tile under it fades out.
class PlayArtGrid : public ArtGrid
{
public:
    PlayArtGrid(const PuzzleRecord& record, PlayTileGrid* playGrid);

    void Update() override;
    void Draw(Graphics* g) override;

    // The ticks since the reveal began, and the tick by which it is complete.
    int GetRevealTick() const { return revealTick; }
    int GetEndTick() const { return endTick; }
    bool IsRevealed() const { return revealTick > endTick; }
    const std::vector<std::vector<int>>& GetRevealTimes() const { return revealTimes; }

private:
    int revealTick{0};
    int endTick{0};
    int fadeTicks{1};
    std::vector<std::vector<int>> revealTimes;
};
