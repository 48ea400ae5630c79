#include "puzzle/PuzzleNameTable.h"

PuzzleNameTable gPuzzleNameTable;

SetNames& PuzzleNameTable::Get(const std::wstring& setName)
{
    return sets[setName];
}

const SetNames* PuzzleNameTable::Find(const std::wstring& setName) const
{
    auto found = sets.find(setName);
    return found == sets.end() ? nullptr : &found->second;
}

std::wstring PuzzleNameTable::PuzzleName(const std::wstring& setName, int puzzle) const
{
    const SetNames* names = Find(setName);
    if (!names || puzzle < 0 || puzzle >= static_cast<int>(names->puzzles.size()))
        return {};
    return names->puzzles[puzzle];
}

void PuzzleNameTable::Clear()
{
    sets.clear();
}
