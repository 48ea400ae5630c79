#pragma once

#include "resources/XMLElement.h"

// A player's record of one puzzle.
struct PuzzleProgress
{
    bool completed{false};
    int bestTime{0}; // whole seconds; 0 while never solved
    bool withoutHints{false};
    bool withoutMistakes{false};
    // Attributes this version does not know (a newer one wrote them): written back as read.
    XMLAttributes otherAttributes;
};
