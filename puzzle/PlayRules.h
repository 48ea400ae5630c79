#pragma once

#include "puzzle/CellOutcome.h"
#include "puzzle/Clues.h"
#include "puzzle/GridCell.h"

#include <functional>
#include <vector>

// The rules of play on one board, without any drawing: the dragged line,
// revealing and marking, mistakes and their limit, clue greying and hints.
// Cells are [column][row]; 0 is a hole, any other value a tile.
class PlayRules
{
public:
    // A random integer in [0, bound).
    using RandomSource = std::function<int(int bound)>;
    // Whether a cell may take a move of this mode bit (1 reveal, 2 mark).
    using MoveFilter = std::function<bool(GridCell cell, int modeBit)>;

    enum DragMode
    {
        kNoDrag = 0,
        kReveal = 1,
        kMark = 2
    };
    enum Tool
    {
        kTileTool = 0,
        kMarkTool = 1
    };

    PlayRules(std::vector<std::vector<int>> cells, int mistakesAllowed, RandomSource random);

    int GridSize() const { return static_cast<int>(cells.size()); }
    bool IsTile(GridCell cell) const;
    bool IsDecided(GridCell cell) const;
    int CellValue(GridCell cell) const;

    // Input. Press answers true when the press asks for the next tool (a right
    // click with the toggle option on) instead of starting a drag.
    bool Press(GridCell cell, int clicks, bool inside, bool disabled, bool toggleOption);
    // Moves the line's end by the line rule; true when it changed.
    bool DragTo(GridCell pointer);
    // Moves the pointer without a drag; true when the cell changed.
    bool Hover(GridCell pointer);
    // The chosen line's step: (0, 0) for a single cell.
    GridCell LineStep() const;
    // Applies the chosen line cell by cell and ends the drag.
    std::vector<CellOutcome> ApplyLine();
    void EndDrag();

    // One cell of a move; false when the cell is decided or refused.
    bool ApplyCell(GridCell cell, int& delay, CellOutcome& outcome);

    // Decides a hole of a line without tiles before play; no mistake, no move.
    void DecideHole(GridCell cell);

    // Picks up to count undecided plain tiles in random order and marks them
    // as having a hint on the way.
    std::vector<GridCell> ChooseHintCells(int count);
    // A hint arrived: the cell is revealed like a tile-tool move.
    bool RevealHintCell(GridCell cell, CellOutcome& outcome);

    // The line end for a pointer cell (clamped to the board): horizontal when
    // the column differs more than the row, else vertical.
    static GridCell ChooseLineEnd(GridCell start, GridCell pointer, int size);

    bool IsFailed() const { return mistakesMade >= mistakesAllowed; }
    bool IsSolved() const { return tilesLeft == 0 && !IsFailed(); }
    bool IsInputEnded() const { return inputEnded; }

    const std::vector<ClueList>& ColumnClues() const { return columnClues; }
    const std::vector<ClueList>& RowClues() const { return rowClues; }
    const std::vector<std::vector<int>>& Cells() const { return cells; }

    void SetMoveFilter(MoveFilter filter) { moveFilter = std::move(filter); }
    // The player's made-mistake flag; null: no notice.
    void SetMadeMistakeFlag(bool* flag) { madeMistakeFlag = flag; }

    int tilesLeft{0};
    int tool{kTileTool};
    int dragMode{kNoDrag};
    bool markingLocked{false};
    GridCell lineStart;
    GridCell lineEnd;
    int mistakesMade{0};
    int mistakesAllowed{1};

private:
    void EndInput(CellOutcome& outcome);
    void Regrey(GridCell cell);

    std::vector<std::vector<int>> cells;
    std::vector<std::vector<int>> decided;
    std::vector<ClueList> columnClues;
    std::vector<ClueList> rowClues;
    RandomSource random;
    MoveFilter moveFilter;
    bool* madeMistakeFlag{nullptr};
    bool inputEnded{false};
};
