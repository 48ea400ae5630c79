#pragma once

#include "puzzle/ActiveWidget.h"

// A puzzle's preview frame on the puzzle-selection screen, sized to the frame
// image of its board size ("SmallGrid<n>"); the frame's 3-pixel rim lies
// outside the widget.
class SmallGrid : public ActiveWidget
{
public:
    static constexpr int kRim = 3;

    explicit SmallGrid(int n);

    void Draw(Graphics* g) override;

    double GetCellSize() const { return m_cellSize; }

protected:
    double m_cellSize{0.0};
};
