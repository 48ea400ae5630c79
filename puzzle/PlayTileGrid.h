#pragma once

#include "puzzle/PlayRules.h"
#include "puzzle/TileGrid.h"

#include "base/Color.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class DynamicWidget;
class HintMeter;
class MistakeMeter;
class PlayGridOwner;

// The playing field: a tile grid that takes the pointer, lets the player drag
// a straight line of cells to reveal or mark them, and tells its owner when no
// move is left. The rules live in PlayRules; this class turns pointer events
// into cells and each decided cell into its animation, trail and notices.
class PlayTileGrid : public TileGrid
{
public:
    using Widget::MouseDown;
    using Widget::MouseUp;

    // The puzzle of the global table; starts disabled.
    PlayTileGrid(int mode, int set, int puzzle);
    // A board of its own (tests, previews) with its random source.
    PlayTileGrid(const std::vector<std::vector<int>>& tiles, PlayRules::RandomSource random);

    // Hooks for the tutorial grid.
    virtual void BeginPlay();
    virtual bool CanApplyMove(int column, int row, int modeBit);
    virtual void LineChosen(int startColumn, int startRow, int endColumn, int endRow, int stepX, int stepY);
    virtual void MoveFinished();

    void SetDisabled(bool disabled) override;
    void Update() override;
    void UpdateF(float dt) override;
    void Draw(Graphics* g) override;
    using Widget::DrawOverlay;
    void DrawOverlay(Graphics* g) override;
    void RemovedFromManager(WidgetManager* manager) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int clicks) override;
    void MouseUp(int x, int y) override;
    void MouseDrag(int x, int y) override;
    void AnimationComplete(int id) override;
    void AnimationPersisting(int id) override;
    void Signal(int id, const std::wstring& message) override;

    // Drawing and effects.
    // One clue number: list 0 the column clues, 1 the row clues.
    virtual void DrawClueNumber(Graphics* g, int x, int y, int list, int line, int entry, bool highlighted);
    // The cell of "GridNumbers" showing number value in style (0 the line
    // under the pointer, 1 normal, 2 done, 3 the running count).
    int FrameIndex(int value, int style) const;
    // Decides every cell of the lines without tiles, before play.
    void InitGridHoles();
    // Flies the clue numbers in; the grid is enabled when the last one lands.
    void ShowNumbers();
    // The numbers fade, and the mistake meter's explosion starts.
    void BeginEndSequence();
    // Every cell widget fades out from its reveal time less delay.
    void FadeTiles(const std::vector<std::vector<int>>& revealTimes, int delay);
    // Widgets now showing the cells; null where nothing was decided.
    DynamicWidget* GetCellWidget(int column, int row) const;
    bool HasCellAnimations() const { return !cellAnimations.empty(); }
    float GetNumberFade() const { return numberFade; }
    bool IsExploding() const { return exploding; }
    // The clue anchors of Draw: column numbers across (A) and down (B), row
    // numbers across (C) and down (D).
    struct NumberAnchors
    {
        int a{0};
        int b{0};
        int c{0};
        int d{0};
    };
    NumberAnchors ComputeNumberAnchors() const;
    int GetNumberSpacingX() const { return numberSpacingX; }
    int GetNumberSpacingY() const { return numberSpacingY; }

    // One cell of a move with the current drag mode; false when nothing changed.
    bool ApplyDragToCell(int column, int row, int& delay);
    // Sends up to count hints flying from (sourceX, sourceY) to undecided tiles.
    void RevealHintTiles(int sourceX, int sourceY, int count);
    void SetMeters(HintMeter* hints, MistakeMeter* mistakes);
    void BeginFade() { fadeFlag = true; }

    // Lost: the allowed mistakes are used up, whatever else the last move did.
    bool IsFailed();
    // Lost, and the last mistake's trail and the mistake meter have played out.
    bool IsFailurePlayedOut();
    bool IsSolved() const { return rules.IsSolved(); }

    void SetOwner(PlayGridOwner* gridOwner) { owner = gridOwner; }
    void SetTool(int tool);
    void SetMarkingLocked(bool locked) { rules.markingLocked = locked; }
    void SetToggleOption(bool* option) { toggleOption = option; }
    // [0] the tile tool's cursor, [1] the mark tool's; shown over the grid
    // while the custom-cursors setting is on.
    void SetCursors(Image* tileCursor, Image* markCursor);
    void UpdateCursor();
    // The cursor the grid wants now: 0 tile, 1 mark, -1 none of its own.
    int ChosenCursor() const;

    const PlayRules& GetRules() const { return rules; }
    int GetMistakesMade() const { return rules.mistakesMade; }
    int GetTrailsInFlight() const { return trailsInFlight; }

protected:
    enum class TrailTarget
    {
        HintMeter,
        MistakeMeter,
        Cell
    };

    // Effects of the playing field; the base class makes none. A trail hook
    // answers the trail's animation id, or -1 when it made none.
    virtual void StartCellAnimation(int column, int row, const std::wstring& name, int delay);
    virtual int AddTrail(const std::wstring& name, int fromX, int fromY, TrailTarget target,
                            int targetIndex, int toX, int toY, int delay, bool showSparkles);
    virtual void ShowFirstMistakeNotice();
    // Shows the notice through the application the grid is shown in; none
    // outside one.
    void ShowNotice(const std::wstring& text);
    virtual void HintTrailArrived();
    virtual void MistakeTrailArrived();
    virtual bool MistakeMeterPlayedOut();

    PlayRules rules;
    bool* toggleOption{nullptr};
    bool mouseInside{false};
    HintMeter* hintMeter{nullptr};
    MistakeMeter* mistakeMeter{nullptr};
    int trailsInFlight{0};
    int maxTrails{0};
    // Trails that took a sparkle slot; only their arrival gives it back.
    std::set<int> sparkleTrails;
    bool failed{false};
    bool fadeFlag{false};
    std::map<int, GridCell> hintTrails;
    std::map<int, GridCell> mistakeTrails;
    std::map<int, GridCell> pendingHints;
    std::vector<Image*> cursors;
    bool cursorSet{false};

private:
    void Setup();
    void SetupDrawing();
    bool ShowsHighlight() const;
    void FinishNumberIntro();
    void EffectDone(int id);
    GridCell CellOrigin(GridCell cell) const;
    void ReleaseSparkleSlot(int id);
    void ExplodeTiles();
    void DrawDragOverlay(Graphics* g);
    GridCell CellAt(int x, int y) const;
    void ApplyOutcome(const CellOutcome& outcome);
    void RevealHint(GridCell cell);
    PlayGridOwner* Owner() const;

    PlayGridOwner* owner{nullptr};

    Image* tileHighlight{nullptr};
    Image* markHighlight{nullptr};
    Image* cursorHighlight{nullptr};
    Image* gridNumbers{nullptr};
    std::vector<std::vector<DynamicWidget*>> cellWidgets;
    std::map<int, GridCell> cellAnimations;
    std::set<int> introNumbers;
    std::map<int, Widget*> introNumberWidgets;
    std::map<int, GridCell> cellWidgetCells;
    float numberFade{0.0f};
    int numberSpacingX{0};
    int numberSpacingY{0};
    Color highlightColor{255, 255, 255, 64};
    DynamicWidget* explosionWidget{nullptr};
    int explosionId{-1};
    bool explodeSeen{false};
    bool exploding{false};
    int homeX{0};
    int homeY{0};
    double velocityX{0.0};
    double velocityY{0.0};
    double springX{0.0};
    double springY{0.0};
    double dampening{0.0};
};
