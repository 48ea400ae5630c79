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
    // Elements this version does not know, as the XML text they were read as: written back at the end.
    std::wstring otherElements;
};
