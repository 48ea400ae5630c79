#pragma once

class Image;
class Widget;
class WidgetContainer;

// What the playing grid tells the screen it stands on.
class PlayGridOwner
{
public:
    virtual ~PlayGridOwner() = default;

    // The last tile was decided or the last allowed mistake made; told once.
    virtual void GridInputEnded() = 0;
    // A right click while the toggle option is on.
    virtual void SelectNextTool() = 0;
    // Where the grid's trails fly, drawn as one batch; null: the grid's parent.
    virtual WidgetContainer* GetTrailLayer() { return nullptr; }
    // A piece of the explosion: the screen watches it until it is removed.
    virtual void AddTrackedWidget(Widget* widget);
    // A spent hint: count tiles to reveal, flying from the point.
    virtual void RequestHints(int /*sourceX*/, int /*sourceY*/, int /*count*/) {}
    // The explosion threw its pieces (or had none to throw).
    virtual void FailPuzzle() {}
    // The pointer over the grid: whether the game's own cursors are on, and
    // the image to show as the pointer (null: the cursor of the kind set
    // last). Without an owner the system's cursor stays.
    virtual bool AreCustomCursorsEnabled() const { return false; }
    virtual void SetCursorImage(Image* /*image*/) {}
};
