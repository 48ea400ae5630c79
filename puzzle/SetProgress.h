#pragma once

#include "puzzle/PuzzleProgress.h"

#include <vector>

// A player's record of one set: its puzzles and how many of them are open.
struct SetProgress
{
    std::vector<PuzzleProgress> puzzles;
    int unlock{0};
    bool introduced{false};
    // Attributes this version does not know (a newer one wrote them): written back as read.
    XMLAttributes otherAttributes;
};
