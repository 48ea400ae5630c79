#pragma once

#include "ui/DynamicWidget.h"

struct PuzzleRecord;

// The thumbnail of a puzzle's picture, 46 pixels square and centred on its
// point; a puzzle new to the player sparkles.
class PuzzleIcon : public DynamicWidget
{
public:
    static constexpr int kSize = 46;

    PuzzleIcon(int x, int y, const PuzzleRecord& record, bool isNew);
};
