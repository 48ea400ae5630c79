#pragma once

#include <vector>

// Solves picture-logic boards from their clues, to prove that a puzzle has
// exactly one solution. Cells are [column][row]: 0 hole, 1 tile.
class LineSolver
{
public:
    enum class Result
    {
        Unique,       // exactly one solution
        Ambiguous,    // more than one
        Contradiction // none
    };

    static constexpr int kUnknown = -1;

    // Clues of every column and row of a board.
    static std::vector<std::vector<int>> ColumnClues(const std::vector<std::vector<int>>& cells);
    static std::vector<std::vector<int>> RowClues(const std::vector<std::vector<int>>& cells);

    // Narrows one line: cells hold 0, 1 or kUnknown; false when no
    // arrangement of the clue fits.
    static bool SolveLine(const std::vector<int>& clue, std::vector<int>& line);

    LineSolver(std::vector<std::vector<int>> columnClues, std::vector<std::vector<int>> rowClues);

    // Line solving alone; true when it settles every cell.
    bool SolveByLines();
    // Line solving with guesses where it stalls, counting up to two solutions.
    Result Solve();

    // The board after SolveByLines or the one solution of Solve.
    const std::vector<std::vector<int>>& Cells() const { return cells; }

private:
    bool Propagate(std::vector<std::vector<int>>& board) const;
    int CountSolutions(std::vector<std::vector<int>> board, int limit);

    std::vector<std::vector<int>> columnClues;
    std::vector<std::vector<int>> rowClues;
    std::vector<std::vector<int>> cells;
};
