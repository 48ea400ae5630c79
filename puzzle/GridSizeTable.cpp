#include "puzzle/GridSizeTable.h"

#include <algorithm>

GridSizeTable gGridSizeTable;

GridSizeRecord& GridSizeTable::Get(int size)
{
    auto found = records.find(size);
    if (found == records.end())
        found = records.emplace(size, Usable(GridSizeRecord{})).first;
    return found->second;
}

const GridSizeRecord* GridSizeTable::Find(int size) const
{
    auto found = records.find(size);
    return found == records.end() ? nullptr : &found->second;
}

bool GridSizeTable::Set(int size, const GridSizeRecord& record)
{
    GridSizeRecord usable = Usable(record);
    Get(size) = usable;
    return usable.hints == record.hints && usable.hintReward == record.hintReward &&
           usable.mistakes == record.mistakes;
}

GridSizeRecord GridSizeTable::Usable(const GridSizeRecord& record)
{
    GridSizeRecord usable = record;
    usable.hints = std::max(usable.hints, 1);
    usable.hintReward = std::max(usable.hintReward, 1);
    usable.mistakes = std::max(usable.mistakes, 1);
    return usable;
}

void GridSizeTable::Clear()
{
    records.clear();
}
