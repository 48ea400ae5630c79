#pragma once

#include "app/BoardHooks.h"
#include "ui/Widget.h"

class BasicPlayerState;
class WidgetHost;

// The full-screen widget under every game screen while a game runs: it counts
// the current player's play time one tick per update, darkens the screen with
// "paused" while the window lacks the focus, and opens the game's first menu
// once it is added. The game derives its board and supplies the menus and the
// player's record.
class Board : public Widget, public BoardHooks
{
public:
    // Covers the application area of the application that shows it.
    explicit Board(WidgetHost& host);

    virtual void ShowMainMenu() = 0;
    virtual void StartGame() = 0;
    // Called once the board is in the manager; here the main menu opens.
    virtual void Launch();
    // The current player's record, or null (no play time is counted then).
    virtual BasicPlayerState* GetPlayerState();

    // While paused the board lies on top of everything, darkening it.
    void SetPaused(bool paused) override;
    bool IsPaused() const { return m_paused; }

    // Play time counts every tick, also those an idle loop slept through.
    void TicksPassedIdle(long long ticks) override;
    void Update() override;
    void Draw(Graphics* g) override;
    void AddedToManager(WidgetManager* manager) override;
    void RemovedFromManager(WidgetManager* manager) override;

private:
    void CountPlayTime(long long ticks);

    bool m_paused = false;
};
