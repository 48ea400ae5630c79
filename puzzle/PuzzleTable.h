#pragma once

#include "puzzle/PuzzleRecord.h"

#include <array>
#include <vector>

// Every puzzle by mode, set index and puzzle index, in file order.
class PuzzleTable
{
public:
    static constexpr int kModeCount = 2;
    using Set = std::vector<PuzzleRecord>;

    int SetCount(int mode) const;
    int PuzzleCount(int mode, int set) const;

    // Null when any index is out of range.
    const PuzzleRecord* Find(int mode, int set, int puzzle) const;
    PuzzleRecord* Find(int mode, int set, int puzzle);

    // The sets of a mode; an out-of-range mode gets an empty list that
    // nothing reads back.
    std::vector<Set>& Sets(int mode);
    const std::vector<Set>& Sets(int mode) const;

    void Clear();

private:
    std::array<std::vector<Set>, kModeCount> modes;
    std::vector<Set> outOfRange;
};

extern PuzzleTable gPuzzleTable;
