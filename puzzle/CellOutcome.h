#pragma once

#include "puzzle/GridCell.h"

// What one decided cell of a move did, for the grid's animations and trails.
struct CellOutcome
{
    enum class Kind
    {
        Solid,
        InvalidHole,
        Hole,
        InvalidSolid
    };

    // "solid", "invalid_hole", "hole" or "invalid_solid".
    const wchar_t* KindName() const;
    bool IsMistake() const { return kind == Kind::InvalidHole || kind == Kind::InvalidSolid; }

    GridCell cell;
    Kind kind{Kind::Solid};
    int delay{0};
    // For a mistake: the number of mistakes made before this one.
    int mistakeIndex{0};
    // The player's first mistake ever: the notice is due.
    bool firstMistake{false};
    // This cell ended play (last tile or last allowed mistake); told once.
    bool endedInput{false};
};
