#pragma once

#include "puzzle/SetNames.h"

#include <map>
#include <string>

// Display names of sets and puzzles from localization.xml, by set name.
class PuzzleNameTable
{
public:
    // The entry of that name; an absent name is inserted empty.
    SetNames& Get(const std::wstring& setName);
    const SetNames* Find(const std::wstring& setName) const;
    // The display name of a puzzle, or an empty text when the list is shorter.
    std::wstring PuzzleName(const std::wstring& setName, int puzzle) const;

    void Clear();

private:
    std::map<std::wstring, SetNames> sets;
};

extern PuzzleNameTable gPuzzleNameTable;
