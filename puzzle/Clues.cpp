#include "puzzle/Clues.h"

#include <algorithm>
#include <cstddef>

namespace {

void CloseRun(ClueList& list, int& counter)
{
    if (counter > 0)
        list.push_back({counter, false});
    counter = 0;
}

bool MatchRun(ClueList& clues, int index, int length)
{
    if (index < 0 || index >= static_cast<int>(clues.size()) || clues[index].length != length)
        return false;
    clues[index].done = true;
    return true;
}

} // namespace

void BuildClues(const std::vector<std::vector<int>>& cells, std::vector<ClueList>& columnClues,
                std::vector<ClueList>& rowClues)
{
    const std::size_t n = cells.size();
    columnClues.assign(n, {});
    rowClues.assign(n, {});
    for (std::size_t i = 0; i < n; ++i) {
        int columnCounter = 0;
        int rowCounter = 0;
        for (std::size_t j = 0; j < n; ++j) {
            const bool columnTile = j < cells[i].size() && cells[i][j] != 0;
            const bool rowTile = i < cells[j].size() && cells[j][i] != 0;
            if (columnTile)
                ++columnCounter;
            else
                CloseRun(columnClues[i], columnCounter);
            if (rowTile)
                ++rowCounter;
            else
                CloseRun(rowClues[i], rowCounter);
        }
        CloseRun(columnClues[i], columnCounter);
        CloseRun(rowClues[i], rowCounter);
    }
}

void RegreyLine(const std::vector<int>& values, const std::vector<int>& decided, ClueList& clues)
{
    const int n = static_cast<int>(std::min(values.size(), decided.size()));
    auto tile = [&](int k) { return values[k] != 0; };

    bool complete = true;
    for (int k = 0; k < n; ++k)
        complete = complete && (!tile(k) || decided[k] != 0);
    for (ClueEntry& entry : clues)
        entry.done = complete;
    if (complete)
        return;

    // From the front: runs closed by a decided hole, up to the first undecided cell.
    int stop = n;
    int index = -1;
    int length = 0;
    int runStart = 0;
    bool open = false;
    for (int k = 0; k < n; ++k) {
        if (decided[k] == 0) {
            stop = k;
            break;
        }
        if (tile(k)) {
            if (!open) {
                open = true;
                ++index;
                length = 0;
                runStart = k;
            }
            ++length;
            if (k == n - 1 && !MatchRun(clues, index, length))
                stop = runStart;
        } else if (open) {
            open = false;
            if (!MatchRun(clues, index, length)) {
                stop = runStart;
                break;
            }
        }
    }

    // From the back, down to where the front walk stopped.
    index = static_cast<int>(clues.size());
    open = false;
    for (int k = n - 1; k >= stop; --k) {
        if (decided[k] == 0)
            break;
        if (tile(k)) {
            if (!open) {
                open = true;
                --index;
                length = 0;
            }
            ++length;
            if (k == stop && !MatchRun(clues, index, length))
                break;
        } else if (open) {
            open = false;
            if (!MatchRun(clues, index, length))
                break;
        }
    }
}
