#pragma once

// What the application asks of the game's board, the full-screen widget
// under all game screens: to pause while the window lacks the focus, and to
// count the ticks the loop slept through on a still screen.
class BoardHooks
{
public:
    virtual ~BoardHooks() = default;
    virtual void SetPaused(bool paused) = 0;
    virtual void TicksPassedIdle(long long ticks) = 0;
};
