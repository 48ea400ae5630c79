#pragma once

#include "puzzle/SetRecord.h"

#include <array>
#include <vector>

// Every set record by mode and set index, in file order. The set index names
// the same set as in the puzzle table.
class SetTable
{
public:
    static constexpr int kModeCount = 2;

    int SetCount(int mode) const;
    // Null when the set has no record.
    const SetRecord* Find(int mode, int set) const;

    std::vector<SetRecord>& Sets(int mode);
    const std::vector<SetRecord>& Sets(int mode) const;

    void Clear();

private:
    std::array<std::vector<SetRecord>, kModeCount> modes;
    std::vector<SetRecord> outOfRange;
};

extern SetTable gSetTable;
