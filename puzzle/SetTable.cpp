#include "puzzle/SetTable.h"

SetTable gSetTable;

int SetTable::SetCount(int mode) const
{
    return static_cast<int>(Sets(mode).size());
}

const SetRecord* SetTable::Find(int mode, int set) const
{
    const std::vector<SetRecord>& sets = Sets(mode);
    if (set < 0 || set >= static_cast<int>(sets.size()))
        return nullptr;
    return &sets[set];
}

std::vector<SetRecord>& SetTable::Sets(int mode)
{
    if (mode < 0 || mode >= kModeCount) {
        outOfRange.clear();
        return outOfRange;
    }
    return modes[mode];
}

const std::vector<SetRecord>& SetTable::Sets(int mode) const
{
    static const std::vector<SetRecord> empty;
    if (mode < 0 || mode >= kModeCount)
        return empty;
    return modes[mode];
}

void SetTable::Clear()
{
    for (std::vector<SetRecord>& sets : modes)
        sets.clear();
    outOfRange.clear();
}
