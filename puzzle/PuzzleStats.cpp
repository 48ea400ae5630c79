#include "puzzle/PuzzleStats.h"

#include "base/LogWriter.h"
#include "puzzle/PuzzleTable.h"

#include <algorithm>
#include <cwctype>

namespace {

constexpr int kMaxCount = 1000000;

std::vector<std::wstring> SplitWords(const std::wstring& text)
{
    std::vector<std::wstring> words;
    std::wstring word;
    for (wchar_t c : text) {
        if (std::iswspace(static_cast<wint_t>(c))) {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

void AppendCell(std::vector<std::vector<int>>& target, std::size_t k, int value)
{
    if (target.size() <= k)
        target.resize(k + 1);
    target[k].push_back(value);
}

std::wstring Where(int mode, int set, int puzzle)
{
    return L"mode " + std::to_wstring(mode) + L", set " + std::to_wstring(set) + L", puzzle " +
           std::to_wstring(puzzle);
}

bool IsSquare(const std::vector<std::vector<int>>& cells)
{
    for (const std::vector<int>& column : cells)
        if (column.size() != cells.size())
            return false;
    return true;
}

} // namespace

PuzzleStats::PuzzleStats()
{
    LoadPropertiesFile("puzzles.xml");
}

PuzzleStats::PuzzleStats(const std::string& path)
{
    ParseFile(path);
}

bool PuzzleStats::Validate(PuzzleRecord& record)
{
    const int n = record.GridSize();
    std::wstring problem;
    if (n == 0)
        problem = L"no grid";
    else if (n > kMaxGridSize)
        problem = L"a board larger than " + std::to_wstring(kMaxGridSize);
    else if (!IsSquare(record.tiles))
        problem = L"the grid is not square";
    else if (record.picture.size() != record.tiles.size() || !IsSquare(record.picture))
        problem = L"the picture is not the grid's size";
    if (problem.empty()) {
        int tiles = 0;
        for (const std::vector<int>& column : record.tiles)
            for (int value : column) {
                if (value != 0 && value != 1)
                    problem = L"a grid cell other than 0 or 1";
                tiles += value != 0;
            }
        if (problem.empty() && tiles == 0)
            problem = L"a grid without tiles";
        for (const std::vector<int>& column : record.picture)
            for (int value : column)
                if (value < -1)
                    problem = L"a picture cell that is not a shade";
    }
    if (!problem.empty()) {
        record.playable = false;
        if (record.problem.empty())
            record.problem = problem;
    }
    return record.playable;
}

PuzzleRecord* PuzzleStats::CurrentPuzzle()
{
    return gPuzzleTable.Find(mode, set, puzzle);
}

void PuzzleStats::HandleElementStart(const std::wstring& name)
{
    currentElement = name;
    if (name == L"mode") {
        ++mode;
        set = puzzle = -1;
        if (mode >= PuzzleTable::kModeCount)
            LogWriter::WriteLine(L"puzzles.xml: mode " + std::to_wstring(mode) + L" ignored (there are two)");
    } else if (name == L"set") {
        puzzle = -1;
        set = -1;
        if (mode < 0 || mode >= PuzzleTable::kModeCount)
            return;
        gPuzzleTable.Sets(mode).emplace_back();
        set = gPuzzleTable.SetCount(mode) - 1;
    } else if (name == L"puzzle") {
        puzzle = -1;
        if (set < 0) {
            LogWriter::WriteLine(L"puzzles.xml: a puzzle outside a set is ignored");
            return;
        }
        PuzzleTable::Set& puzzles = gPuzzleTable.Sets(mode)[set];
        puzzles.emplace_back();
        puzzle = static_cast<int>(puzzles.size()) - 1;
        PuzzleRecord& record = puzzles.back();
        record.name = GetAttribute(L"name");
        record.tested = GetAttributeBool(L"tested");
        // Shown as numbers on the puzzle screens; anything larger is not a puzzle's.
        record.steps = std::clamp(GetAttributeInt(L"steps"), 0, kMaxCount);
        record.difficulty = std::clamp(GetAttributeInt(L"difficulty"), 0, kMaxCount);
        oddPictureWord = false;
    }
}

void PuzzleStats::HandleElementEnd(const std::wstring& name)
{
    if (name == L"set" || name == L"mode") {
        set = -1;
        puzzle = -1;
    }
    if (name != L"puzzle")
        return;
    if (PuzzleRecord* record = CurrentPuzzle()) {
        if (oddPictureWord) {
            record->playable = false;
            record->problem = L"a picture word of odd length";
        }
        if (!Validate(*record))
            LogWriter::WriteLine(L"puzzles.xml: " + Where(mode, set, puzzle) + L" (" + record->name +
                                 L") is not playable: " + record->problem);
    }
    puzzle = -1;
}

void PuzzleStats::HandleText(const std::wstring& text)
{
    PuzzleRecord* record = CurrentPuzzle();
    if (!record)
        return;
    const bool grid = currentElement == L"grid";
    std::vector<std::vector<int>>& target = grid ? record->tiles : record->picture;
    for (const std::wstring& word : SplitWords(text)) {
        if (grid) {
            for (std::size_t k = 0; k < word.size(); ++k)
                AppendCell(target, k, static_cast<int>(word[k]) - L'0');
            continue;
        }
        if (word.size() % 2 != 0)
            oddPictureWord = true;
        for (std::size_t k = 0; k < word.size(); k += 2) {
            const wchar_t first = word[k];
            const wchar_t second = k + 1 < word.size() ? word[k + 1] : L'A';
            const int value = first == L'0' ? -1 : (first - L'A') * 26 + (second - L'A');
            AppendCell(target, k / 2, value);
        }
    }
}
