#pragma once

#include "puzzle/PlayRules.h"
#include "puzzle/TileGrid.h"

#include <map>
#include <string>
#include <vector>

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
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int clicks) override;
    void MouseUp(int x, int y) override;
    void MouseDrag(int x, int y) override;
    void AnimationComplete(int id) override;

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
    virtual int LaunchTrail(const std::wstring& name, int fromX, int fromY, TrailTarget target,
                            int targetIndex, int toX, int toY, int delay);
    virtual void ShowFirstMistakeNotice();
    virtual void HintTrailArrived();
    virtual void MistakeTrailArrived();
    virtual bool MistakeMeterPlayedOut();

    PlayRules rules;
    bool* toggleOption{nullptr};
    bool mouseInside{false};
    HintMeter* hintMeter{nullptr};
    MistakeMeter* mistakeMeter{nullptr};
    int trailsInFlight{0};
    bool failed{false};
    bool fadeFlag{false};
    std::map<int, GridCell> hintTrails;
    std::map<int, GridCell> mistakeTrails;
    std::map<int, GridCell> pendingHints;
    std::vector<Image*> cursors;
    bool cursorSet{false};

private:
    void Setup();
    GridCell CellAt(int x, int y) const;
    void ApplyOutcome(const CellOutcome& outcome);
    void RevealHint(GridCell cell);
    PlayGridOwner* Owner();

    PlayGridOwner* owner{nullptr};
};
