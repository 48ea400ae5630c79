#include "puzzle/PuzzleTable.h"

PuzzleTable gPuzzleTable;

int PuzzleTable::SetCount(int mode) const
{
    return static_cast<int>(Sets(mode).size());
}

int PuzzleTable::PuzzleCount(int mode, int set) const
{
    const std::vector<Set>& sets = Sets(mode);
    if (set < 0 || set >= static_cast<int>(sets.size()))
        return 0;
    return static_cast<int>(sets[set].size());
}

const PuzzleRecord* PuzzleTable::Find(int mode, int set, int puzzle) const
{
    if (puzzle < 0 || puzzle >= PuzzleCount(mode, set))
        return nullptr;
    return &Sets(mode)[set][puzzle];
}

PuzzleRecord* PuzzleTable::Find(int mode, int set, int puzzle)
{
    return const_cast<PuzzleRecord*>(static_cast<const PuzzleTable*>(this)->Find(mode, set, puzzle));
}

std::vector<PuzzleTable::Set>& PuzzleTable::Sets(int mode)
{
    if (mode < 0 || mode >= kModeCount) {
        outOfRange.clear();
        return outOfRange;
    }
    return modes[mode];
}

const std::vector<PuzzleTable::Set>& PuzzleTable::Sets(int mode) const
{
    static const std::vector<Set> empty;
    if (mode < 0 || mode >= kModeCount)
        return empty;
    return modes[mode];
}

void PuzzleTable::Clear()
{
    for (std::vector<Set>& sets : modes)
        sets.clear();
    outOfRange.clear();
}
