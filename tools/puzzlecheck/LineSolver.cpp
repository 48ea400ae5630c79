#include "tools/puzzlecheck/LineSolver.h"

#include <cstddef>

namespace {

std::vector<int> Runs(const std::vector<int>& line)
{
    std::vector<int> runs;
    int run = 0;
    for (int value : line) {
        if (value != 0) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (run > 0)
        runs.push_back(run);
    return runs;
}

} // namespace

std::vector<std::vector<int>> LineSolver::ColumnClues(const std::vector<std::vector<int>>& cells)
{
    std::vector<std::vector<int>> clues;
    for (const std::vector<int>& column : cells)
        clues.push_back(Runs(column));
    return clues;
}

std::vector<std::vector<int>> LineSolver::RowClues(const std::vector<std::vector<int>>& cells)
{
    std::vector<std::vector<int>> clues;
    const std::size_t n = cells.size();
    for (std::size_t row = 0; row < n; ++row) {
        std::vector<int> line;
        for (std::size_t column = 0; column < n; ++column)
            line.push_back(row < cells[column].size() ? cells[column][row] : 0);
        clues.push_back(Runs(line));
    }
    return clues;
}

bool LineSolver::SolveLine(const std::vector<int>& clue, std::vector<int>& line)
{
    const int n = static_cast<int>(line.size());
    const int k = static_cast<int>(clue.size());
    auto canEmpty = [&](int i) { return line[i] != 1; };
    // holes[i]: known holes among the first i cells, for range checks.
    std::vector<int> holes(n + 1, 0);
    for (int i = 0; i < n; ++i)
        holes[i + 1] = holes[i] + (line[i] == 0);
    auto canFill = [&](int from, int to) { return from >= 0 && to <= n && holes[to] - holes[from] == 0; };

    // before[i][j]: the first i cells hold exactly the first j runs.
    std::vector<std::vector<char>> before(n + 1, std::vector<char>(k + 1, 0));
    before[0][0] = 1;
    for (int i = 1; i <= n; ++i) {
        for (int j = 0; j <= k; ++j) {
            bool fits = canEmpty(i - 1) && before[i - 1][j];
            if (!fits && j > 0) {
                const int start = i - clue[j - 1];
                if (canFill(start, i))
                    fits = start == 0 ? j == 1 : canEmpty(start - 1) && before[start - 1][j - 1];
            }
            before[i][j] = fits;
        }
    }
    // after[i][j]: cells i.. hold exactly runs j.., cell i starting fresh.
    std::vector<std::vector<char>> after(n + 2, std::vector<char>(k + 1, 0));
    after[n][k] = 1;
    after[n + 1][k] = 1;
    for (int i = n - 1; i >= 0; --i) {
        for (int j = 0; j <= k; ++j) {
            bool fits = canEmpty(i) && after[i + 1][j];
            if (!fits && j < k) {
                const int end = i + clue[j];
                if (canFill(i, end))
                    fits = end == n ? j + 1 == k : canEmpty(end) && after[end + 1][j + 1];
            }
            after[i][j] = fits;
        }
    }
    if (!after[0][0])
        return false;

    std::vector<char> mayBeHole(n, 0);
    std::vector<char> mayBeTile(n, 0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j <= k && !mayBeHole[i]; ++j)
            mayBeHole[i] = canEmpty(i) && before[i][j] && after[i + 1][j];
    for (int j = 0; j < k; ++j) {
        for (int start = 0; start + clue[j] <= n; ++start) {
            const int end = start + clue[j];
            if (!canFill(start, end))
                continue;
            const bool head = start == 0 ? j == 0 : canEmpty(start - 1) && before[start - 1][j];
            const bool tail = end == n ? j + 1 == k : canEmpty(end) && after[end + 1][j + 1];
            if (head && tail)
                for (int i = start; i < end; ++i)
                    mayBeTile[i] = 1;
        }
    }
    for (int i = 0; i < n; ++i) {
        if (!mayBeHole[i] && !mayBeTile[i])
            return false;
        if (!mayBeHole[i])
            line[i] = 1;
        else if (!mayBeTile[i])
            line[i] = 0;
    }
    return true;
}

LineSolver::LineSolver(std::vector<std::vector<int>> columns, std::vector<std::vector<int>> rows)
    : columnClues(std::move(columns)), rowClues(std::move(rows))
{
}

bool LineSolver::Propagate(std::vector<std::vector<int>>& board) const
{
    const std::size_t n = board.size();
    bool changed = true;
    while (changed) {
        changed = false;
        for (std::size_t column = 0; column < n; ++column) {
            std::vector<int> line = board[column];
            if (!SolveLine(columnClues[column], line))
                return false;
            if (line != board[column]) {
                board[column] = line;
                changed = true;
            }
        }
        for (std::size_t row = 0; row < n; ++row) {
            std::vector<int> line(n);
            for (std::size_t column = 0; column < n; ++column)
                line[column] = board[column][row];
            const std::vector<int> old = line;
            if (!SolveLine(rowClues[row], line))
                return false;
            if (line != old) {
                for (std::size_t column = 0; column < n; ++column)
                    board[column][row] = line[column];
                changed = true;
            }
        }
    }
    return true;
}

bool LineSolver::SolveByLines()
{
    const std::size_t n = columnClues.size();
    cells.assign(n, std::vector<int>(n, kUnknown));
    if (rowClues.size() != n || !Propagate(cells))
        return false;
    for (const std::vector<int>& column : cells)
        for (int value : column)
            if (value == kUnknown)
                return false;
    return true;
}

LineSolver::Result LineSolver::Solve()
{
    const std::size_t n = columnClues.size();
    if (rowClues.size() != n)
        return Result::Contradiction;
    cells.clear();
    const int count = CountSolutions(std::vector<std::vector<int>>(n, std::vector<int>(n, kUnknown)), 2);
    if (count == 0)
        return Result::Contradiction;
    return count == 1 ? Result::Unique : Result::Ambiguous;
}

int LineSolver::CountSolutions(std::vector<std::vector<int>> board, int limit)
{
    if (!Propagate(board))
        return 0;
    for (std::size_t column = 0; column < board.size(); ++column) {
        for (std::size_t row = 0; row < board.size(); ++row) {
            if (board[column][row] != kUnknown)
                continue;
            int found = 0;
            for (int guess : {1, 0}) {
                std::vector<std::vector<int>> next = board;
                next[column][row] = guess;
                found += CountSolutions(std::move(next), limit - found);
                if (found >= limit)
                    break;
            }
            return found;
        }
    }
    cells = board;
    return 1;
}
