#include "puzzle/PlayTileGrid.h"

#include "base/Common.h"
#include "base/LogWriter.h"
#include "base/ScreenSize.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/HintMeter.h"
#include "puzzle/MistakeMeter.h"
#include "puzzle/PlayGridOwner.h"
#include "puzzle/PlayerState.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/ScreenPoint.h"
#include "puzzle/TrailWidget.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "ui/AnimationWidget.h"
#include "ui/FlagsMod.h"
#include "ui/NoticeMenuMaker.h"
#include "ui/WidgetHost.h"

#include <algorithm>
#include <cmath>

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
    SetupDrawing();
}

void PlayTileGrid::SetupDrawing()
{
    const int n = GridSize();
    tileHighlight = ::GetImage(StrFormatW(L"G%dTileHighlight", n));
    markHighlight = ::GetImage(StrFormatW(L"G%dMarkHighlight", n));
    cursorHighlight = ::GetImage(StrFormatW(L"G%dCursorHighlight", n));
    gridNumbers = ::GetImage(L"GridNumbers");
    cellWidgets.assign(static_cast<std::size_t>(n),
                       std::vector<DynamicWidget*>(static_cast<std::size_t>(n), nullptr));
    maxTrails = GetConstantInt(L"max_trails_count");

    // An absent or zero count would divide by zero: it means no limit but half the board.
    const int half = (n + 1) / 2;
    const int limit = GetConstantInt(L"max_number_count");
    const int maxNumbers = std::max(1, limit > 0 && limit < half ? limit : half);
    numberSpacingX = std::min(offsetX / maxNumbers, cellSize);
    numberSpacingY = std::min(offsetY / maxNumbers, cellSize);
    highlightColor = Color(GetConstantInt(L"highlight_color_red"), GetConstantInt(L"highlight_color_green"),
                           GetConstantInt(L"highlight_color_blue"), GetConstantInt(L"highlight_color_alpha"));
    // The many cell animations draw as one batch.
    FlagsMod mod = GetFlagsMod();
    mod.add |= WidgetFlags::Batching;
    SetFlagsMod(mod);
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
    const GridCell before = rules.lineEnd;
    if (!rules.Hover(CellAt(x, y)))
        return;
    const GridCell after = rules.lineEnd;
    const int n = GridSize();
    for (const GridCell cell : {before, after}) {
        if (cell.column < 0 || cell.row < 0 || cell.column >= n || cell.row >= n) {
            MarkDirty();
            return;
        }
    }
    // The highlight is a cross through the cell and its clues. A row or
    // column the cross leaves or enters changes whole, the two cells with it;
    // a row or column it keeps changes only in those cells (the band gives
    // way to the cursor there).
    // A highlight image larger than a cell reaches past it by the difference.
    int margin = 0;
    for (const Image* image : {cursorHighlight, tileHighlight, markHighlight}) {
        if (image != nullptr)
            margin = std::max({margin, image->GetCellWidth() - cellSize, image->GetCellHeight() - cellSize});
    }
    constexpr int kFar = 1 << 20;
    const int span = cellSize + 2 * margin;
    for (const GridCell cell : {before, after}) {
        const GridCell at = CellOrigin(cell);
        if (before.row != after.row)
            MarkDirtyArea(Rect{-kFar, at.row - margin, 2 * kFar, span});
        if (before.column != after.column)
            MarkDirtyArea(Rect{at.column - margin, -kFar, span, 2 * kFar});
    }
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
        const bool sparkles = trailsInFlight < maxTrails;
        const int id = AddTrail(L"revealed_tile", centreX, centreY, TrailTarget::HintMeter, 0, 0, 0,
                                   outcome.delay, sparkles);
        if (id >= 0) {
            hintTrails[id] = cell;
            if (sparkles) {
                sparkleTrails.insert(id);
                ++trailsInFlight;
            }
        } else {
            // No trail to wait for: the meter fills at once.
            HintTrailArrived();
        }
    } else if (outcome.IsMistake() && mistakeMeter) {
        const wchar_t* name = outcome.kind == CellOutcome::Kind::InvalidHole ? L"incorrectly_revealed_hole"
                                                                             : L"incorrectly_revealed_tile";
        const int id = AddTrail(name, centreX, centreY, TrailTarget::MistakeMeter, outcome.mistakeIndex, 0,
                                   0, outcome.delay, false);
        if (id >= 0)
            mistakeTrails[id] = cell;
        else
            MistakeTrailArrived();
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
        const bool sparkles = trailsInFlight < maxTrails;
        const int id =
            AddTrail(L"revealed_tile", sourceX, sourceY, TrailTarget::Cell, 0, toX, toY, delay, sparkles);
        if (id >= 0) {
            pendingHints[id] = cell;
            if (sparkles) {
                sparkleTrails.insert(id);
                ++trailsInFlight;
            }
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
        ReleaseSparkleSlot(id);
    } else if (auto mistake = mistakeTrails.find(id); mistake != mistakeTrails.end()) {
        mistakeTrails.erase(mistake);
        if (mistakeMeter)
            MistakeTrailArrived();
    } else if (auto pending = pendingHints.find(id); pending != pendingHints.end()) {
        const GridCell cell = pending->second;
        pendingHints.erase(pending);
        RevealHint(cell);
        ReleaseSparkleSlot(id);
    } else if (explosionWidget && id == explosionId) {
        // An explosion that ends without its signal still throws the tiles.
        explosionWidget = nullptr;
        Signal(id, L"explode");
    } else {
        // A removed effect counts as finished, so nothing waits for it forever.
        EffectDone(id);
        if (auto cellWidget = cellWidgetCells.find(id); cellWidget != cellWidgetCells.end()) {
            const GridCell cell = cellWidget->second;
            cellWidgetCells.erase(cellWidget);
            if (cellWidgets[cell.column][cell.row] && cellWidgets[cell.column][cell.row]->GetId() == id)
                cellWidgets[cell.column][cell.row] = nullptr;
        }
        introNumberWidgets.erase(id);
    }
}

void PlayTileGrid::ReleaseSparkleSlot(int id)
{
    if (sparkleTrails.erase(id) > 0)
        --trailsInFlight;
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
    const PlayGridOwner* gridOwner = Owner();
    if (!mouseInside || !gridOwner || !gridOwner->AreCustomCursorsEnabled())
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
    if (PlayGridOwner* gridOwner = Owner(); gridOwner && (image || cursorSet)) {
        gridOwner->SetCursorImage(image);
        cursorSet = image != nullptr;
    }
    MarkDirty();
}

PlayGridOwner* PlayTileGrid::Owner() const
{
    return owner ? owner : dynamic_cast<PlayGridOwner*>(GetParent());
}

// Drawing and effects.

GridCell PlayTileGrid::CellOrigin(GridCell cell) const
{
    return {cell.column * cellSize, cell.row * cellSize};
}

void PlayTileGrid::StartCellAnimation(int column, int row, const std::wstring& name, int delay)
{
    const GridCell origin = CellOrigin({column, row});
    auto* widget = new AnimationWidget(name, origin.column + cellSize / 2, origin.row + cellSize / 2, true);
    if (widget->IsFinished()) {
        // No such script: nothing to show and nothing to wait for.
        delete widget;
        return;
    }
    widget->SetVariable(L"delay", Value(delay));
    widget->SetVariable(L"dim", Value(GridSize()));
    Attach(widget->GetListenerLink());
    const int id = widget->GetId();
    cellAnimations[id] = {column, row};
    cellWidgetCells[id] = {column, row};
    cellWidgets[column][row] = widget;
    AddWidget(widget);
}

int PlayTileGrid::AddTrail(const std::wstring& name, int fromX, int fromY, TrailTarget target,
                              int targetIndex, int toX, int toY, int delay, bool showSparkles)
{
    if (target == TrailTarget::HintMeter && hintMeter) {
        const ScreenPoint point = hintMeter->HintTargetPoint();
        toX = point.x;
        toY = point.y;
    } else if (target == TrailTarget::MistakeMeter && mistakeMeter) {
        const ScreenPoint point = mistakeMeter->ChanceTargetPoint(targetIndex);
        toX = point.x;
        toY = point.y;
    }
    auto* trail = new TrailWidget(name, fromX, fromY, toX, toY, delay);
    if (trail->IsFinished()) {
        delete trail;
        return -1;
    }
    if (target != TrailTarget::MistakeMeter)
        trail->SetVariable(L"show_sparkles", Value(showSparkles));
    Attach(trail->GetListenerLink());
    WidgetContainer* layer = Owner() ? Owner()->GetTrailLayer() : nullptr;
    if (!layer)
        layer = GetParent();
    if (!layer) {
        delete trail;
        return -1;
    }
    const int id = trail->GetId();
    layer->AddWidget(trail);
    return id;
}

void PlayTileGrid::ShowFirstMistakeNotice()
{
    ShowNotice(L"mistake_intro");
}

void PlayTileGrid::ShowNotice(const std::wstring& text)
{
    NoticeMenuMaker* maker = GetHost() != nullptr ? GetHost()->GetNoticeMenuMaker() : nullptr;
    if (maker != nullptr)
        maker->ShowNoticeMenu(text);
}

void PlayTileGrid::HintTrailArrived()
{
    if (hintMeter)
        hintMeter->HintTrailArrived();
}

void PlayTileGrid::MistakeTrailArrived()
{
    if (mistakeMeter)
        mistakeMeter->MistakeTrailArrived();
}

bool PlayTileGrid::MistakeMeterPlayedOut()
{
    return !mistakeMeter || mistakeMeter->GetChancesLost() >= rules.mistakesMade;
}

void PlayTileGrid::AnimationPersisting(int id)
{
    EffectDone(id);
}

void PlayTileGrid::EffectDone(int id)
{
    if (cellAnimations.erase(id) > 0)
        return;
    if (introNumbers.erase(id) > 0 && introNumbers.empty())
        FinishNumberIntro();
}

void PlayTileGrid::InitGridHoles()
{
    const int n = GridSize();
    auto decide = [this](int column, int row) {
        if (rules.IsDecided({column, row}))
            return;
        rules.DecideHole({column, row});
        StartCellAnimation(column, row, L"init_hole", 0);
    };
    for (int column = 0; column < n; ++column)
        if (columnClues[column].empty())
            for (int row = 0; row < n; ++row)
                decide(column, row);
    for (int row = 0; row < n; ++row)
        if (rowClues[row].empty())
            for (int column = 0; column < n; ++column)
                decide(column, row);
}

PlayTileGrid::NumberAnchors PlayTileGrid::ComputeNumberAnchors() const
{
    const int n = GridSize();
    const int width = gridNumbers ? gridNumbers->GetCellWidth() : 0;
    const int height = gridNumbers ? gridNumbers->GetCellHeight() : 0;
    NumberAnchors anchors;
    anchors.a = GetConstantInt(StrFormatW(L"grid_number_col_offset_x_G%d", n)) + (numberSpacingX - width) / 2;
    anchors.b =
        GetConstantInt(StrFormatW(L"grid_number_col_offset_y_G%d", n)) + (numberSpacingY - height) / 2;
    anchors.c = GetConstantInt(StrFormatW(L"grid_number_row_offset_x_G%d", n)) + (cellSize - width) / 2;
    anchors.d = GetConstantInt(StrFormatW(L"grid_number_row_offset_y_G%d", n)) + (cellSize - height) / 2;
    return anchors;
}

int PlayTileGrid::FrameIndex(int value, int style) const
{
    const int columns = gridNumbers && gridNumbers->GetColumns() > 0 ? gridNumbers->GetColumns() : 25;
    const int row = style + (GridSize() > 15 ? 4 : 0);
    return row * columns + value - 1;
}

void PlayTileGrid::ShowNumbers()
{
    const NumberAnchors anchors = ComputeNumberAnchors();
    auto start = [this](int x, int y, int length) {
        auto* number = new AnimationWidget(L"intro_number", 0, 0, true);
        if (number->IsFinished()) {
            delete number;
            return;
        }
        number->SetVariable(L"x", Value(x));
        number->SetVariable(L"y", Value(y));
        number->SetVariable(L"frame", Value(FrameIndex(length, 1)));
        number->SetVariable(L"delay", Value(Rand(150) + 10));
        Attach(number->GetListenerLink());
        introNumbers.insert(number->GetId());
        introNumberWidgets[number->GetId()] = number;
        AddWidget(number);
    };
    const int n = GridSize();
    for (int i = 0; i < n; ++i) {
        const int columnCount = static_cast<int>(columnClues[i].size());
        for (int k = 0; k < columnCount; ++k)
            start(i * cellSize + anchors.c, anchors.b - (columnCount - k) * numberSpacingY,
                  columnClues[i][k].length);
        const int rowCount = static_cast<int>(rowClues[i].size());
        for (int k = 0; k < rowCount; ++k)
            start(anchors.a - (rowCount - k) * numberSpacingX, i * cellSize + anchors.d,
                  rowClues[i][k].length);
    }
    SetDisabled(true);
    // Without any number to wait for (no clues, or no intro script) the intro is over at once.
    if (introNumbers.empty())
        FinishNumberIntro();
}

void PlayTileGrid::FinishNumberIntro()
{
    std::map<int, Widget*> widgets;
    widgets.swap(introNumberWidgets);
    for (auto& [id, widget] : widgets)
        widget->RemoveSelf();
    introNumbers.clear();
    numberFade = 1.0f;
    SetDisabled(false);
}

void PlayTileGrid::BeginEndSequence()
{
    fadeFlag = true;
    if (explodeSeen || explosionWidget)
        return;
    if (mistakeMeter)
        explosionWidget = mistakeMeter->Explode(this);
    if (explosionWidget) {
        explosionId = explosionWidget->GetId();
        return;
    }
    // No explosion to wait for: the tiles fall at once.
    Signal(-1, L"explode");
}

void PlayTileGrid::FadeTiles(const std::vector<std::vector<int>>& revealTimes, int delay)
{
    const int n = std::min(GridSize(), static_cast<int>(revealTimes.size()));
    for (int column = 0; column < n; ++column) {
        const int rows = std::min(GridSize(), static_cast<int>(revealTimes[column].size()));
        for (int row = 0; row < rows; ++row) {
            auto* widget = dynamic_cast<AnimationWidget*>(cellWidgets[column][row]);
            if (!widget)
                continue;
            const Value fadeDelay(revealTimes[column][row] - delay);
            widget->SetVariable(L"fade-delay", fadeDelay);
            // The same under a name that script expressions can read.
            widget->SetVariable(L"fade_delay", fadeDelay);
            widget->StartAnimationByName(L"fade_tile");
        }
    }
}

DynamicWidget* PlayTileGrid::GetCellWidget(int column, int row) const
{
    if (column < 0 || row < 0 || column >= GridSize() || row >= GridSize())
        return nullptr;
    return cellWidgets[column][row];
}

void PlayTileGrid::Signal(int, const std::wstring& message)
{
    if (message != L"explode" || explodeSeen)
        return;
    explodeSeen = true;
    explosionWidget = nullptr;
    homeX = static_cast<int>(GetX());
    homeY = static_cast<int>(GetY());
    exploding = true;
    velocityX = -GetConstantFloat(L"explosion_grid_speed_horiz");
    velocityY = -GetConstantFloat(L"explosion_grid_speed_vert");
    springX = GetConstantFloat(L"explosion_grid_spring_horiz");
    springY = GetConstantFloat(L"explosion_grid_spring_vert");
    dampening = GetConstantFloat(L"explosion_grid_dampening");
    ExplodeTiles();
    if (Owner())
        Owner()->FailPuzzle();
}

void PlayTileGrid::ExplodeTiles()
{
    const int screenHeight = GetHost() != nullptr ? GetHost()->GetHeight() : kScreenHeight;
    const int n = GridSize();
    for (int column = 0; column < n; ++column) {
        for (int row = 0; row < n; ++row) {
            auto* widget = dynamic_cast<AnimationWidget*>(cellWidgets[column][row]);
            if (!widget || !rules.IsTile({column, row}))
                continue;
            DynamicWidget* tile = widget->FindObject(L"tile");
            if (!tile)
                continue;
            const float x = GetX() + widget->GetX() + tile->GetX();
            const float y = GetY() + widget->GetY() + tile->GetY();
            auto* piece = new DynamicWidget(static_cast<int>(x), static_cast<int>(y), tile->GetImage(), 1.0f);
            piece->SetFrame(tile->GetFrame());
            const int side = 2 * Rand(2) - 1;
            const int duration = RandRange(25, 40) + (screenHeight - static_cast<int>(y)) / 10;
            piece->HopTo(x + static_cast<float>(side * (Rand(4) + 4) * 25), static_cast<float>(screenHeight),
                         -50, -150, duration);
            tile->RemoveSelf();
            if (Owner())
                Owner()->AddTrackedWidget(piece);
            else if (GetParent())
                GetParent()->AddWidget(piece);
            else
                delete piece;
            piece->SetRemoveWhenDone(true);
        }
    }
}

void PlayTileGrid::Update()
{
    TileGrid::Update();
    if (!fadeFlag)
        return;
    numberFade -= 0.01f;
    if (numberFade <= 0.0f) {
        numberFade = 0.0f;
        fadeFlag = false;
    }
    MarkDirty();
}

void PlayTileGrid::UpdateF(float dt)
{
    TileGrid::UpdateF(dt);
    if (!exploding)
        return;
    const int previousX = static_cast<int>(GetX());
    double x = GetX() + dt * velocityX;
    double y = GetY() + dt * velocityY;
    velocityX = ((homeX - x) * springX * dt + velocityX) * dampening;
    velocityY = ((homeY - y) * springY * dt + velocityY) * dampening;
    // The motion also ends once it has died down without crossing home again.
    const bool settled = std::abs(velocityX) < 0.01 && std::abs(velocityY) < 0.01 &&
                         std::abs(x - homeX) < 0.5 && std::abs(y - homeY) < 0.5;
    if ((previousX > homeX && x <= homeX && velocityX < 0.0) || settled) {
        exploding = false;
        x = homeX;
        y = homeY;
    }
    Move(static_cast<float>(x), static_cast<float>(y));
    MarkDirty();
}

bool PlayTileGrid::ShowsHighlight() const
{
    return rules.dragMode != PlayRules::kNoDrag || (mouseInside && !IsDisabled());
}

void PlayTileGrid::Draw(Graphics* g)
{
    if (ShowsHighlight())
        DeferOverlay(0);
    TileGrid::Draw(g);
    if (numberFade <= 0.0f || !gridNumbers)
        return;
    const GraphicsState saved = g->GetState();
    if (exploding)
        g->Translate(static_cast<float>(homeX) - GetX(), static_cast<float>(homeY) - GetY());
    const GridCell highlighted = ShowsHighlight() ? rules.lineEnd : GridCell{-1, -1};
    const NumberAnchors anchors = ComputeNumberAnchors();
    if (numberFade < 1.0f) {
        g->SetColorizeImages(true);
        // Image colours are premultiplied: white at that opacity.
        const int opacity = static_cast<int>(numberFade * 255.0f);
        g->SetColor(Color(opacity, opacity, opacity, opacity));
    }
    const int n = GridSize();
    for (int i = 0; i < n; ++i) {
        const int columnCount = static_cast<int>(columnClues[i].size());
        for (int k = 0; k < columnCount; ++k)
            DrawClueNumber(g, i * cellSize + anchors.c, anchors.b - (columnCount - k) * numberSpacingY, 0, i,
                           k, i == highlighted.column);
        const int rowCount = static_cast<int>(rowClues[i].size());
        for (int k = 0; k < rowCount; ++k)
            DrawClueNumber(g, anchors.a - (rowCount - k) * numberSpacingX, i * cellSize + anchors.d, 1, i, k,
                           i == highlighted.row);
    }
    g->SetState(saved);
}

void PlayTileGrid::DrawClueNumber(Graphics* g, int x, int y, int list, int line, int entry, bool highlighted)
{
    const std::vector<ClueList>& lists = list == 0 ? columnClues : rowClues;
    if (!gridNumbers || line < 0 || line >= static_cast<int>(lists.size()) || entry < 0 ||
        entry >= static_cast<int>(lists[line].size()))
        return;
    const ClueEntry& clue = lists[line][entry];
    const int style = clue.done ? 2 : (highlighted ? 0 : 1);
    const int frame = FrameIndex(clue.length, style);
    if (clue.length >= 1 && frame < gridNumbers->GetCellCount())
        g->DrawImage(gridNumbers, x, y, frame);
}

void PlayTileGrid::DrawOverlay(Graphics* g)
{
    if (ShowsHighlight())
        DrawDragOverlay(g);
}

void PlayTileGrid::DrawDragOverlay(Graphics* g)
{
    const GridCell end = rules.lineEnd;
    const int n = GridSize();
    if (end.column < 0 || end.row < 0 || end.column >= n || end.row >= n)
        return;
    const int size = n * cellSize;
    const GridCell origin = CellOrigin(end);
    g->SetColor(highlightColor);
    g->FillRect(-offsetX, origin.row, offsetX + origin.column, cellSize);
    g->FillRect(origin.column + cellSize, origin.row, size - origin.column - cellSize, cellSize);
    g->FillRect(origin.column, -offsetY, cellSize, offsetY + origin.row);
    g->FillRect(origin.column, origin.row + cellSize, cellSize, size - origin.row - cellSize);
    g->SetColor(Color(255, 255, 255, 255));

    Image* image = cursorHighlight;
    if (rules.dragMode == PlayRules::kReveal)
        image = tileHighlight;
    else if (rules.dragMode == PlayRules::kMark)
        image = markHighlight;
    const bool dragging = rules.dragMode != PlayRules::kNoDrag;
    const bool showNumbers =
        dragging && gCurrentPlayerState && gCurrentPlayerState->showNumbers && gridNumbers;

    const GridCell step = dragging ? rules.LineStep() : GridCell{0, 0};
    g->SetBatching(true);
    GridCell cell = dragging ? rules.lineStart : end;
    std::vector<std::pair<GridCell, int>> counts;
    for (int number = 1;; ++number) {
        const GridCell at = CellOrigin(cell);
        Image* shown = cell == end ? cursorHighlight : image;
        if (shown)
            g->DrawImage(shown, at.column, at.row);
        if (showNumbers)
            counts.emplace_back(at, number);
        if (cell == end || (step.column == 0 && step.row == 0))
            break;
        cell.column += step.column;
        cell.row += step.row;
    }
    for (const auto& [at, number] : counts) {
        const int frame = FrameIndex(number, 3);
        if (number <= gridNumbers->GetColumns() && frame < gridNumbers->GetCellCount())
            g->DrawImage(gridNumbers, at.column + (cellSize - gridNumbers->GetCellWidth()) / 2,
                         at.row + (cellSize - gridNumbers->GetCellHeight()) / 2, frame);
    }
    g->SetBatching(false);
}

void PlayTileGrid::RemovedFromManager(WidgetManager* manager)
{
    // Whatever still flies or explodes stops reporting to a grid that left.
    const std::set<AnimationListener::Link*> links = GetAttached();
    for (AnimationListener::Link* link : links)
        link->Detach();
    explosionWidget = nullptr;
    TileGrid::RemovedFromManager(manager);
}
