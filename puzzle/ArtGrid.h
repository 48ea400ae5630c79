#pragma once

#include "puzzle/Grid.h"

struct PuzzleRecord;

// A board over a puzzle's finished picture: cells hold shade values.
class ArtGrid : public Grid
{
public:
    explicit ArtGrid(const PuzzleRecord& record);
};
