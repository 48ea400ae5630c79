#pragma once

#include "puzzle/SmallGrid.h"

#include <vector>

// A preview of a puzzle: its picture when solved (show), else the empty frame.
class SmallArtGrid : public SmallGrid
{
public:
    // pictureCells: the puzzle's picture, [column][row]; its column count is
    // the board size.
    SmallArtGrid(const std::vector<std::vector<int>>& pictureCells, int x, int y, bool show);

    void Draw(Graphics* g) override;

    const std::vector<std::vector<int>>& GetPicture() const { return m_picture; }
    bool DrawsFrame() const { return m_drawFrame; }

private:
    std::vector<std::vector<int>> m_picture;
    bool m_drawFrame{true};
};
