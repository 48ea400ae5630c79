#pragma once

#include "puzzle/GridSizeRecord.h"

#include <map>

// Grid-size records by board size. Hints, hint reward and mistakes are used
// as divisors and counts, so every stored record keeps them at 1 or more.
class GridSizeTable
{
public:
    // The record of that size; an absent size is inserted with zero offsets
    // and the smallest usable allowances.
    GridSizeRecord& Get(int size);
    const GridSizeRecord* Find(int size) const;

    // Stores the record, raising hints, hint reward and mistakes to at least
    // 1; returns false when a value had to be raised.
    bool Set(int size, const GridSizeRecord& record);

    static GridSizeRecord Usable(const GridSizeRecord& record);

    void Clear();

private:
    std::map<int, GridSizeRecord> records;
};

extern GridSizeTable gGridSizeTable;
