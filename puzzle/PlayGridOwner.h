#pragma once

// What the playing grid tells the screen it stands on.
class PlayGridOwner
{
public:
    virtual ~PlayGridOwner() = default;

    // The last tile was decided or the last allowed mistake made; told once.
    virtual void GridInputEnded() = 0;
    // A right click while the toggle option is on.
    virtual void SelectNextTool() = 0;
};
