#include "puzzle/PlayTileGrid.h"

#include "app/VelkAppBase.h"
#include "base/Common.h"
#include "base/LogWriter.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/PlayGridOwner.h"
#include "puzzle/PlayerState.h"
#include "puzzle/PuzzleTable.h"

namespace {

const std::vector<std::vector<int>>& PuzzleTiles(int mode, int set, int puzzle)
{
    static const std::vector<std::vector<int>> none;
    const PuzzleRecord* record = gPuzzleTable.Find(mode, set, puzzle);
    if (!record || !record->playable) {
        LogWriter::WriteLine(StrFormat("PlayTileGrid: puzzle %d/%d/%d cannot be played", mode, set, puzzle));
        return none;
    }
    return record->tiles;
}

int AllowedMistakes(int size)
{
    return gGridSizeTable.Get(size).mistakes;
}

} // namespace

PlayTileGrid::PlayTileGrid(int mode, int set, int puzzle)
    : TileGrid(PuzzleTiles(mode, set, puzzle)),
      rules(cells, AllowedMistakes(GridSize()), [](int bound) { return Rand(bound); })
{
    Setup();
}

PlayTileGrid::PlayTileGrid(const std::vector<std::vector<int>>& tiles, PlayRules::RandomSource random)
    : TileGrid(tiles), rules(cells, AllowedMistakes(GridSize()), std::move(random))
{
    Setup();
}

void PlayTileGrid::Setup()
{
    rules.SetMoveFilter(
        [this](GridCell cell, int modeBit) { return CanApplyMove(cell.column, cell.row, modeBit); });
    if (gCurrentPlayerState) {
        toggleOption = &gCurrentPlayerState->toggleMode;
        rules.SetMadeMistakeFlag(&gCurrentPlayerState->madeMistake);
    }
    SetDisabled(true);
}

void PlayTileGrid::BeginPlay() {}

bool PlayTileGrid::CanApplyMove(int, int, int modeBit)
{
    return (rules.dragMode & modeBit) != 0;
}

void PlayTileGrid::LineChosen(int, int, int, int, int, int) {}

void PlayTileGrid::MoveFinished() {}

void PlayTileGrid::SetDisabled(bool disabled)
{
    TileGrid::SetDisabled(disabled);
    if (IsDisabled())
        ShowHandCursor(false);
}

void PlayTileGrid::MouseEnter()
{
    mouseInside = true;
    UpdateCursor();
}

void PlayTileGrid::MouseLeave()
{
    mouseInside = false;
    UpdateCursor();
}

GridCell PlayTileGrid::CellAt(int x, int y) const
{
    return {x / cellSize, y / cellSize};
}

void PlayTileGrid::MouseMove(int x, int y)
{
    if (rules.Hover(CellAt(x, y)))
        MarkDirty();
}

void PlayTileGrid::MouseDown(int x, int y, int clicks)
{
    TileGrid::MouseDown(x, y, clicks);
    const bool toggle = toggleOption && *toggleOption;
    const bool nextTool = rules.Press(CellAt(x, y), clicks, Contains(x, y), IsDisabled(), toggle);
    if (nextTool && Owner())
        Owner()->SelectNextTool();
    UpdateCursor();
}

void PlayTileGrid::MouseDrag(int x, int y)
{
    if (rules.DragTo(CellAt(x, y)))
        MarkDirty();
}

void PlayTileGrid::MouseUp(int x, int y)
{
    TileGrid::MouseUp(x, y);
    if (rules.DragTo(CellAt(x, y)))
        MarkDirty();
    if (rules.dragMode == PlayRules::kNoDrag)
        return;
    const GridCell step = rules.LineStep();
    LineChosen(rules.lineStart.column, rules.lineStart.row, rules.lineEnd.column, rules.lineEnd.row,
               step.column, step.row);
    for (const CellOutcome& outcome : rules.ApplyLine())
        ApplyOutcome(outcome);
    rules.EndDrag();
    UpdateCursor();
    MarkDirty();
    MoveFinished();
}

bool PlayTileGrid::ApplyDragToCell(int column, int row, int& delay)
{
    CellOutcome outcome;
    if (!rules.ApplyCell({column, row}, delay, outcome))
        return false;
    ApplyOutcome(outcome);
    return true;
}

void PlayTileGrid::ApplyOutcome(const CellOutcome& outcome)
{
    const GridCell cell = outcome.cell;
    const int centreX = static_cast<int>(GetX()) + cell.column * cellSize + cellSize / 2;
    const int centreY = static_cast<int>(GetY()) + cell.row * cellSize + cellSize / 2;

    if (outcome.firstMistake)
        ShowFirstMistakeNotice();
    if (outcome.endedInput) {
        SetDisabled(true);
        if (Owner())
            Owner()->GridInputEnded();
    }
    StartCellAnimation(cell.column, cell.row, std::wstring(L"tile_") + outcome.KindName(), outcome.delay);

    if (outcome.kind == CellOutcome::Kind::Solid && hintMeter) {
        const int id =
            LaunchTrail(L"revealed_tile", centreX, centreY, TrailTarget::HintMeter, 0, 0, 0, outcome.delay);
        if (id >= 0) {
            hintTrails[id] = cell;
            ++trailsInFlight;
        }
    } else if (outcome.IsMistake() && mistakeMeter) {
        const wchar_t* name = outcome.kind == CellOutcome::Kind::InvalidHole ? L"incorrectly_revealed_hole"
                                                                             : L"incorrectly_revealed_tile";
        const int id = LaunchTrail(name, centreX, centreY, TrailTarget::MistakeMeter, outcome.mistakeIndex, 0,
                                   0, outcome.delay);
        if (id >= 0)
            mistakeTrails[id] = cell;
    }

    const std::vector<ClueList>& columns = rules.ColumnClues();
    const std::vector<ClueList>& rows = rules.RowClues();
    columnClues[cell.column] = columns[cell.column];
    rowClues[cell.row] = rows[cell.row];
}

void PlayTileGrid::RevealHintTiles(int sourceX, int sourceY, int count)
{
    int delay = 0;
    for (const GridCell& cell : rules.ChooseHintCells(count)) {
        // The board shows the hint on its way as the rules do.
        cells[cell.column][cell.row] = rules.CellValue(cell);
        const int toX = static_cast<int>(GetX()) + cell.column * cellSize + cellSize / 2;
        const int toY = static_cast<int>(GetY()) + cell.row * cellSize + cellSize / 2;
        const int id = LaunchTrail(L"revealed_tile", sourceX, sourceY, TrailTarget::Cell, 0, toX, toY, delay);
        if (id >= 0) {
            pendingHints[id] = cell;
            ++trailsInFlight;
        } else {
            // Without a trail to wait for, the hint lands at once.
            RevealHint(cell);
        }
        delay += 11;
    }
}

void PlayTileGrid::RevealHint(GridCell cell)
{
    HintMeter* saved = hintMeter;
    hintMeter = nullptr;
    CellOutcome outcome;
    if (rules.RevealHintCell(cell, outcome))
        ApplyOutcome(outcome);
    hintMeter = saved;
}

void PlayTileGrid::AnimationComplete(int id)
{
    if (auto found = hintTrails.find(id); found != hintTrails.end()) {
        hintTrails.erase(found);
        if (hintMeter)
            HintTrailArrived();
        --trailsInFlight;
    } else if (auto mistake = mistakeTrails.find(id); mistake != mistakeTrails.end()) {
        mistakeTrails.erase(mistake);
        if (mistakeMeter)
            MistakeTrailArrived();
    } else if (auto pending = pendingHints.find(id); pending != pendingHints.end()) {
        const GridCell cell = pending->second;
        pendingHints.erase(pending);
        RevealHint(cell);
        --trailsInFlight;
    }
}

void PlayTileGrid::SetMeters(HintMeter* hints, MistakeMeter* mistakes)
{
    hintMeter = hints;
    mistakeMeter = mistakes;
}

bool PlayTileGrid::IsFailed()
{
    failed = failed || rules.IsFailed();
    return failed;
}

bool PlayTileGrid::IsFailurePlayedOut()
{
    return IsFailed() && mistakeTrails.empty() && (!mistakeMeter || MistakeMeterPlayedOut());
}

void PlayTileGrid::SetTool(int tool)
{
    rules.tool = tool;
    UpdateCursor();
}

void PlayTileGrid::SetCursors(Image* tileCursor, Image* markCursor)
{
    cursors = {tileCursor, markCursor};
    UpdateCursor();
}

int PlayTileGrid::ChosenCursor() const
{
    if (!mouseInside || !gAppBase || !gAppBase->AreCustomCursorsEnabled())
        return -1;
    const bool tile = rules.dragMode == PlayRules::kReveal ||
                      (rules.dragMode == PlayRules::kNoDrag && rules.tool == PlayRules::kTileTool);
    return tile ? 0 : 1;
}

void PlayTileGrid::UpdateCursor()
{
    const int chosen = ChosenCursor();
    Image* image = chosen >= 0 && chosen < static_cast<int>(cursors.size()) ? cursors[chosen] : nullptr;
    // Only a cursor this grid set is taken away again.
    if (gAppBase && (image || cursorSet)) {
        gAppBase->SetCursorImage(image);
        cursorSet = image != nullptr;
    }
    MarkDirty();
}

PlayGridOwner* PlayTileGrid::Owner()
{
    return owner ? owner : dynamic_cast<PlayGridOwner*>(GetParent());
}

void PlayTileGrid::StartCellAnimation(int, int, const std::wstring&, int) {}

int PlayTileGrid::LaunchTrail(const std::wstring&, int, int, TrailTarget, int, int, int, int)
{
    return -1;
}

void PlayTileGrid::ShowFirstMistakeNotice() {}

void PlayTileGrid::HintTrailArrived() {}

void PlayTileGrid::MistakeTrailArrived() {}

bool PlayTileGrid::MistakeMeterPlayedOut()
{
    return true;
}
