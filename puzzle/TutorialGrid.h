#pragma once

#include "puzzle/PlayTileGrid.h"

#include "ui/HostWordTable.h"
#include "ui/RemovalListener.h"

#include <map>
#include <span>
#include <string>
#include <tuple>
#include <vector>

class DynamicWidget;
class GameApp;
class HyperlinkWidget;
class PassiveWidget;
class TextboxPopup;

// The playing field of the primer puzzles: a play grid whose script
// ("tutorial_<puzzle + 1>") tells the player what to do, allows only the
// cells it requests, flashes them, highlights clue numbers and shows
// popups and links (over the application it is made for). Once the script
// has ended, any move is allowed.
class TutorialGrid : public PlayTileGrid
{
public:
    enum class Action
    {
        None = 0,
        Reveal = 1,
        Mark = 2
    };
    // Flash groups are bits of a 32-bit set.
    static constexpr int kMaxFlashGroups = 31;
    static constexpr int kFlashTicks = 100;

    TutorialGrid(GameApp& app, int mode, int set, int puzzle);
    ~TutorialGrid() override;

    void BeginPlay() override;
    bool CanApplyMove(int column, int row, int modeBit) override;
    void LineChosen(int startColumn, int startRow, int endColumn, int endRow, int stepX, int stepY) override;
    void MoveFinished() override;
    void DrawClueNumber(Graphics* g, int x, int y, int list, int line, int entry, bool highlighted) override;
    void Update() override;
    void Draw(Graphics* g) override;
    void DrawOverlay(Graphics* g) override;
    void ButtonDepress(int id) override;
    void AddedToParent(WidgetContainer* parent) override;
    void RemovedFromManager(WidgetManager* manager) override;

    // Requests the undecided cells from (x1, y1) to (x2, y2), 1-based; an end
    // of 0 stands for the start. Only straight lines on the board are taken;
    // false when the line was refused.
    bool RequestLine(Action action, int x1, int y1, int x2, int y2, int group);
    void ClearRequests();

    bool IsFreePlay() const { return freePlay; }
    bool IsWaitingForTiles() const { return waitingForTiles; }
    int GetRequestsLeft() const { return requestsLeft; }
    int GetFlashGroups() const { return flashGroups; }
    Action RequestedAction(int column, int row) const;
    TextboxPopup* GetPopup() const { return popup; }
    // The hidden text label the open popup was made from.
    DynamicWidget* GetPopupAnchor() const { return popupAnchor; }
    // The layer over the screen that holds the links; null while the grid
    // has no parent.
    PassiveWidget* GetLinkLayer() const { return linkLayer; }
    // The link of that id, or null.
    HyperlinkWidget* FindLink(const std::wstring& id) const;
    const std::wstring& GetScriptName() const { return scriptName; }

    // The lesson's own words, asked before the built-in ones, and the runner
    // of its script (made and kept by the grid) that they get.
    class Runner;
    using HostWord = HostWordRow<TutorialGrid&, Runner&>;
    static std::span<const HostWord> HostWords();

protected:
    void HintTrailArrived() override;

private:
    friend class Runner;
    // Forgets the popup when it leaves by any way (all menus closing, the
    // application ending), so the grid never reaches for a deleted one.
    class PopupWatch : public RemovalListener
    {
    public:
        explicit PopupWatch(TutorialGrid& grid) : m_grid(grid) {}
        void WidgetRemoved(int id) override;

    private:
        TutorialGrid& m_grid;
    };
    struct Request
    {
        Action action{Action::None};
        unsigned groups{0};
    };
    struct Link
    {
        HyperlinkWidget* widget{nullptr};
        // The base name of the notice the link opens.
        std::wstring popupText;
    };
    // The lesson's words that need more than a line.
    ScriptOutcome AwaitOk(Runner& script);
    ScriptOutcome AwaitTiles(Runner& script);
    void RequestScriptLine(Action action, Runner& script);
    ScriptOutcome SetRevealMode(Runner& script);
    void FlashInStep(Runner& script);
    void ScriptEnded();
    void Resume();
    void OpenPopup(Runner& runner);
    void ClosePopup();
    void AddLink(Runner& runner);
    void RemoveLink(const std::wstring& id);
    void SetHighlight(Runner& runner, bool on);
    bool InBoard(int column, int row) const;

    GameApp& app;
    Runner* runner{nullptr};
    bool freePlay{false};
    bool revealAll{false};
    std::wstring scriptName;
    DynamicWidget* popupAnchor{nullptr};
    std::wstring popupAnchorName;
    TextboxPopup* popup{nullptr};
    PopupWatch popupWatch{*this};
    int requestsLeft{0};
    std::vector<std::vector<Request>> requests;
    int flashTimer{0};
    int flashGroups{2};
    bool waitingForTiles{false};
    std::map<std::tuple<int, int, int>, bool> clueHighlights;
    std::map<std::wstring, Link> links;
    PassiveWidget* linkLayer{nullptr};
    std::vector<Image*> requestImages;
};
