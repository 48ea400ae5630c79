#pragma once

// What the application asks of the game's board, the full-screen widget
// under all game screens: to pause while the window lacks the focus.
class BoardHooks
{
public:
    virtual ~BoardHooks() = default;
    virtual void SetPaused(bool paused) = 0;
};
