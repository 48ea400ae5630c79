#pragma once

#include "app/InterpreterMenu.h"
#include "puzzle/PlayGridOwner.h"
#include "ui/HostWordTable.h"

#include <deque>
#include <set>
#include <span>
#include <string>
#include <vector>

class ButtonWidget;
class GameApp;
class HintMeter;
class ImageSurface;
class MistakeMeter;
class PlayArtGrid;
class PlayTileGrid;
class TextLabel;

// The screen one puzzle is played on. It runs the set's play script, builds
// the HUD and the grid hidden, runs "play_intro" (which may take snapshots of
// them and shows them), then counts the playing time and keeps the tools in
// step until the grid has no move left; a solve starts the picture reveal and
// records the progress, a failure lets the grid explode.
class PlayPuzzleMenu : public InterpreterMenu, public PlayGridOwner
{
public:
    enum class State
    {
        SetScript = 0, // the set's play script runs
        Intro = 1,     // "play_intro" runs; the play commands are accepted
        Playing = 2,
        Solved = 3,  // the picture is revealed
        Failed = 4,  // the explosion runs
        Finished = 5 // only still pictures remain
    };

    struct ToolRecord
    {
        ButtonWidget* button{nullptr};
        TextLabel* label{nullptr};
        int x{0};
        int y{0};
        std::wstring cursorName;
    };

    PlayPuzzleMenu(GameApp& app, int mode, int set, int puzzle);
    ~PlayPuzzleMenu() override;

    // The widget tree.
    void RemoveWidget(Widget* widget) override;
    void Update() override;
    void AddedToManager(WidgetManager* manager) override;
    void GotFocus() override;
    void KeyChar(int ch) override;
    using Widget::MouseDown;
    void MouseDown(int x, int y, int clicks) override;
    void MouseDrag(int x, int y) override;
    void ButtonPress(int id) override;
    void ButtonDepress(int id) override;

    // The script: the Animator's hook hands the play commands on.
    Outcome HandleCommand(const ScriptCommand& command) override;
    // While the intro runs: the play words, one row each.
    Outcome ExecutePlayCommand(const ScriptCommand& command);
    using HostWord = HostWordRow<PlayPuzzleMenu&>;
    static std::span<const HostWord> HostWords();
    void OnScriptFinished() override;
    void OnEmptyScript() override;

    // What the grid and the meters ask.
    void GridInputEnded() override;
    void SelectNextTool() override;
    WidgetContainer* GetTrailLayer() override;
    void AddTrackedWidget(Widget* widget) override;
    bool AreCustomCursorsEnabled() const override;
    void SetCursorImage(Image* image) override;
    void FailPuzzle() override;
    void RequestHints(int sourceX, int sourceY, int count) override;

    void SelectTool(int index);
    // The grid has no move left, or the hidden code was typed.
    void FinishPuzzle();

    // The time text of that many ticks, from the localized "puzzle_time".
    static std::wstring TimeText(int ticks);

    State GetState() const { return state; }
    int GetTicks() const { return ticks; }
    PlayTileGrid* GetGrid() const { return grid; }
    PlayArtGrid* GetArtGrid() const { return artGrid; }
    HintMeter* GetHintMeter() const { return hintMeter; }
    MistakeMeter* GetMistakeMeter() const { return mistakeMeter; }
    TextLabel* GetTimerLabel() const { return timerLabel; }
    const std::vector<ToolRecord>& GetTools() const { return tools; }
    int GetCurrentTool() const { return currentTool; }
    bool IsFirstSolve() const { return firstSolve; }
    // The hints spent, kept when the meter leaves at the end of play.
    int GetHintsUsed() const;
    // The level screen takes the revealed picture: the screen forgets it.
    PlayArtGrid* HandOverArtGrid();

protected:
    // The level screens; they open over the finished board.
    virtual void ShowLevelComplete(int seconds, int mistakes, int hints);
    virtual void ShowLevelFail(int seconds, int mistakes, int hints);
    // The options dialog and the confirmation to leave.
    virtual void ShowOptions();
    virtual void ShowLeaveConfirmation();
    // The grid; the tutorial's screen makes its own.
    virtual PlayTileGrid* MakeGrid(bool tutorial);

private:
    void BuildPlayField();
    void BeginPlay();
    Widget* AddHudWidget(Widget* widget);
    // A still picture of the widgets (hidden ones included), screen-sized.
    ImageSurface* RenderToImage(const std::vector<Widget*>& widgets, bool remove);
    void Flatten(const std::vector<Widget*>& widgets);
    void AddSnapshot(const std::vector<Widget*>& widgets, bool opacityGiven);
    void UpdateToolDisplay();
    void RecordSolve();
    bool ToggleOptionOn() const { return toggleOption && *toggleOption; }

    Widget* trailLayer{nullptr};
    PlayTileGrid* grid{nullptr};
    PlayArtGrid* artGrid{nullptr};
    Widget* optionsButton{nullptr};
    Widget* menuButton{nullptr};
    TextLabel* timerLabel{nullptr};
    TextLabel* puzzleNameLabel{nullptr};
    int mode{0};
    int set{0};
    int puzzle{0};
    int ticks{0};
    State state{State::SetScript};
    std::vector<ToolRecord> tools;
    int currentTool{0};
    bool tileToolShown{true};
    bool* toggleOption{nullptr};
    bool firstSolve{false};
    bool firstSet{false};
    HintMeter* hintMeter{nullptr};
    MistakeMeter* mistakeMeter{nullptr};
    int hintsUsedAtEnd{0};
    int mistakesAtEnd{0};
    bool failShown{false};
    bool failPending{false};
    bool numbersStarted{false};
    int revealTicks{0};
    int revealEndTick{0};
    std::deque<Widget*> hudWidgets;
    std::set<Widget*> trackedWidgets;
};
