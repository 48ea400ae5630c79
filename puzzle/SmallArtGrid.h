#pragma once

#include "puzzle/SmallGrid.h"

#include <vector>

// A preview of a puzzle: its picture when solved (show), else the empty frame.
class SmallArtGrid : public SmallGrid
{
public:
    SmallArtGrid(const std::vector<std::vector<int>>& pictureCells, int x, int y, bool show);

    void Draw(Graphics* g) override;

    const std::vector<std::vector<int>>& GetPicture() const { return picture; }

private:
    std::vector<std::vector<int>> picture;
    bool drawFrame{true};
};
