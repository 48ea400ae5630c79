#pragma once

#include "ui/Widget.h"

#include <vector>

struct PuzzleRecord;

// The picture of a solved puzzle in the preview panel of the puzzle choice,
// drawn from the art tiles into the panel's square well.
class PuzzlePreview : public Widget
{
public:
    // The well's place and side inside the widget.
    static constexpr int kWellX = 29;
    static constexpr int kWellY = 26;
    static constexpr int kWellSide = 240;

    explicit PuzzlePreview(const PuzzleRecord& record);

    void Draw(Graphics* g) override;

private:
    std::vector<std::vector<int>> m_picture;
};
