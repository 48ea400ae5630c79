#include "puzzle/PlayRules.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

PlayRules::PlayRules(std::vector<std::vector<int>> boardCells, int allowed, RandomSource randomSource)
    : mistakesAllowed(std::max(allowed, 1)), cells(std::move(boardCells)), random(std::move(randomSource))
{
    // The board is square: every column gets exactly n cells.
    const std::size_t n = cells.size();
    for (std::vector<int>& column : cells)
        column.resize(n, 0);
    decided.assign(n, std::vector<int>(n, 0));
    for (const std::vector<int>& column : cells)
        tilesLeft +=
            static_cast<int>(std::count_if(column.begin(), column.end(), [](int v) { return v != 0; }));
    BuildClues(cells, columnClues, rowClues);
    if (!random)
        random = [](int bound) { return bound > 0 ? std::rand() % bound : 0; };
    moveFilter = [this](GridCell, int modeBit) { return (dragMode & modeBit) != 0; };
}

bool PlayRules::IsTile(GridCell cell) const
{
    return CellValue(cell) != 0;
}

bool PlayRules::IsDecided(GridCell cell) const
{
    const int n = GridSize();
    if (cell.column < 0 || cell.row < 0 || cell.column >= n || cell.row >= n)
        return true;
    return decided[cell.column][cell.row] != 0;
}

void PlayRules::DecideHole(GridCell cell)
{
    if (!IsDecided(cell) && !IsTile(cell))
        decided[cell.column][cell.row] = 1;
}

int PlayRules::CellValue(GridCell cell) const
{
    const int n = GridSize();
    if (cell.column < 0 || cell.row < 0 || cell.column >= n || cell.row >= n)
        return 0;
    return cells[cell.column][cell.row];
}

bool PlayRules::Press(GridCell cell, int clicks, bool inside, bool disabled, bool toggleOption)
{
    bool nextTool = false;
    // Every press, taken or refused, puts the line on the pressed cell: a
    // refused one (a second button during a drag, for one) leaves no line of
    // an earlier drag behind.
    lineStart = lineEnd = cell;
    if (dragMode != kNoDrag || !inside || disabled || mistakesMade >= mistakesAllowed) {
        dragMode = kNoDrag;
        return false;
    }
    if (clicks < 0) {
        if (toggleOption)
            nextTool = true;
        else if (!markingLocked)
            dragMode = kMark;
    } else {
        dragMode = tool == kTileTool ? kReveal : kMark;
    }
    return nextTool;
}

bool PlayRules::DragTo(GridCell pointer)
{
    const GridCell end = ChooseLineEnd(lineStart, pointer, GridSize());
    const bool changed = !(end == lineEnd);
    lineEnd = end;
    return changed;
}

bool PlayRules::Hover(GridCell pointer)
{
    const bool changed = !(pointer == lineStart);
    lineStart = lineEnd = pointer;
    return changed;
}

GridCell PlayRules::LineStep() const
{
    if (lineEnd.column != lineStart.column)
        return {Sign(lineEnd.column - lineStart.column), 0};
    return {0, Sign(lineEnd.row - lineStart.row)};
}

std::vector<CellOutcome> PlayRules::ApplyLine()
{
    std::vector<CellOutcome> outcomes;
    if (dragMode == kNoDrag)
        return outcomes;
    const GridCell step = LineStep();
    int delay = 0;
    GridCell cell = lineStart;
    while (true) {
        CellOutcome outcome;
        if (ApplyCell(cell, delay, outcome))
            outcomes.push_back(outcome);
        if (cell == lineEnd)
            break;
        cell.column += step.column;
        cell.row += step.row;
    }
    EndDrag();
    return outcomes;
}

void PlayRules::EndDrag()
{
    dragMode = kNoDrag;
}

bool PlayRules::ApplyCell(GridCell cell, int& delay, CellOutcome& outcome)
{
    if (IsDecided(cell))
        return false;
    int mode = kNoDrag;
    if (moveFilter(cell, kReveal))
        mode = kReveal;
    else if (moveFilter(cell, kMark))
        mode = kMark;
    else
        return false;

    decided[cell.column][cell.row] = 1;
    dragMode = mode;
    const bool tile = IsTile(cell);
    outcome = CellOutcome{};
    outcome.cell = cell;
    outcome.delay = delay;
    if (mode == kReveal)
        outcome.kind = tile ? CellOutcome::Kind::Solid : CellOutcome::Kind::InvalidHole;
    else
        outcome.kind = tile ? CellOutcome::Kind::InvalidSolid : CellOutcome::Kind::Hole;

    if (outcome.IsMistake()) {
        outcome.mistakeIndex = mistakesMade;
        ++mistakesMade;
        if (mistakesMade < mistakesAllowed) {
            if (madeMistakeFlag && !*madeMistakeFlag) {
                *madeMistakeFlag = true;
                outcome.firstMistake = true;
            }
        } else {
            EndInput(outcome);
        }
    }
    if (tile) {
        --tilesLeft;
        if (tilesLeft == 0)
            EndInput(outcome);
    }
    delay += 11;
    Regrey(cell);
    return true;
}

void PlayRules::EndInput(CellOutcome& outcome)
{
    dragMode = kNoDrag;
    if (!inputEnded)
        outcome.endedInput = true;
    inputEnded = true;
}

void PlayRules::Regrey(GridCell cell)
{
    const int n = GridSize();
    std::vector<int> values(n);
    std::vector<int> marks(n);
    for (int k = 0; k < n; ++k) {
        values[k] = cells[k][cell.row];
        marks[k] = decided[k][cell.row];
    }
    RegreyLine(values, marks, rowClues[cell.row]);
    RegreyLine(cells[cell.column], decided[cell.column], columnClues[cell.column]);
}

std::vector<GridCell> PlayRules::ChooseHintCells(int count)
{
    std::vector<GridCell> candidates;
    const int n = GridSize();
    for (int column = 0; column < n; ++column)
        for (int row = 0; row < n; ++row)
            if (cells[column][row] == 1 && decided[column][row] == 0)
                candidates.push_back({column, row});
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        const int bound = static_cast<int>(i + 1);
        const int pick = std::clamp(random(bound), 0, bound - 1);
        std::swap(candidates[i], candidates[pick]);
    }
    if (count < 0)
        count = 0;
    if (candidates.size() > static_cast<std::size_t>(count))
        candidates.resize(count);
    for (const GridCell& cell : candidates)
        cells[cell.column][cell.row] |= 2;
    return candidates;
}

bool PlayRules::RevealHintCell(GridCell cell, CellOutcome& outcome)
{
    const int savedMode = dragMode;
    dragMode = kReveal;
    int delay = 0;
    const bool applied = ApplyCell(cell, delay, outcome);
    dragMode = savedMode;
    return applied;
}

GridCell PlayRules::ChooseLineEnd(GridCell start, GridCell pointer, int size)
{
    const int last = std::max(size - 1, 0);
    const int column = std::clamp(pointer.column, 0, last);
    const int row = std::clamp(pointer.row, 0, last);
    const int dx = column - start.column;
    const int dy = row - start.row;
    if (std::abs(dx) > std::abs(dy))
        return {column, start.row};
    return {start.column, row};
}
