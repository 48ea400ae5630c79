#include "puzzle/TutorialGrid.h"

#include "app/GameApp.h"
#include "app/TextboxPopup.h"
#include "base/Common.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "puzzle/HintMeter.h"
#include "resources/Assets.h"
#include "resources/Localization.h"
#include "ui/AnimationWidget.h"
#include "ui/ButtonWidget.h"
#include "ui/CommandReader.h"
#include "ui/HostWordTable.h"
#include "ui/HyperlinkWidget.h"
#include "ui/PassiveWidget.h"
#include "ui/ScriptCommand.h"
#include "ui/ScriptMenuHooks.h"
#include "ui/TextBoxBuilder.h"
#include "ui/TextLabel.h"

#include <algorithm>

namespace {

// The message on the panel: its top, and the margin on either side when the
// script gives no width.
constexpr int kMessageTop = 12;
constexpr int kMessageMargin = 30;
// The links lie over the play screen, above the board.
constexpr int kLinkLayerLevel = 1;

} // namespace

// Runs the tutorial script beside the grid (the grid itself is no dynamic
// widget) and hands the tutorial's own commands to it.
class TutorialGrid::Runner : public AnimationWidget
{
public:
    explicit Runner(TutorialGrid& grid) : AnimationWidget(0, 0, nullptr, 1.0f), m_grid(grid) {}

    Outcome HandleCommand(const ScriptCommand& command) override
    {
        const Outcome outcome = RunHostWord(HostWords(), command.m_name, m_grid, *this);
        return outcome != Outcome::NotMine ? outcome : AnimationWidget::HandleCommand(command);
    }
    void OnScriptFinished() override { m_grid.ScriptEnded(); }
    void OnEmptyScript() override { m_grid.ScriptEnded(); }

private:
    TutorialGrid& m_grid;
};

TutorialGrid::TutorialGrid(GameApp& app_, int mode, int set, int puzzle)
    : PlayTileGrid(mode, set, puzzle), app(app_), scriptName(StrFormatW(L"tutorial_%d", puzzle + 1))
{
    const int n = GridSize();
    requests.assign(n, std::vector<Request>(n));
    requestImages = {::GetImage(StrFormatW(L"G%dTileHighlight", n)),
                     ::GetImage(StrFormatW(L"G%dMarkHighlight", n))};
    runner = new Runner(*this);
    AddWidget(runner);
}

TutorialGrid::~TutorialGrid() = default;

void TutorialGrid::BeginPlay()
{
    freePlay = false;
    SetDisabled(false);
    // The lesson goes on while the notices it opens stand over the screen.
    if (ScriptMenuHooks* owner = runner->GetHostSuspendOwner())
        owner->SetPauseInBackground(false);
    runner->PlayAnimationByName(scriptName);
}

void TutorialGrid::HintTrailArrived()
{
    // The lesson's messages stand over the board while it runs: the hints
    // introduce themselves with a lamp filled after the lesson.
    if (hintMeter)
        hintMeter->SetIntroductionAllowed(freePlay);
    PlayTileGrid::HintTrailArrived();
}

void TutorialGrid::ScriptEnded()
{
    freePlay = true;
    if (ScriptMenuHooks* owner = runner->GetHostSuspendOwner())
        owner->SetPauseInBackground(true);
    // A popup left open has no script to enable its OK any more.
    ClosePopup();
}

void TutorialGrid::Resume()
{
    if (runner->GetWait() == Animator::Wait::TutorialHost)
        runner->RunScript(true);
}

bool TutorialGrid::InBoard(int column, int row) const
{
    const int n = static_cast<int>(requests.size());
    return column >= 0 && row >= 0 && column < n && row < n;
}

TutorialGrid::Action TutorialGrid::RequestedAction(int column, int row) const
{
    return InBoard(column, row) ? requests[column][row].action : Action::None;
}

bool TutorialGrid::CanApplyMove(int column, int row, int modeBit)
{
    if ((rules.dragMode & modeBit) == 0 || !InBoard(column, row))
        return false;
    Request& request = requests[column][row];
    if (!freePlay && (static_cast<int>(request.action) & modeBit) == 0)
        return false;
    request = {};
    --requestsLeft;
    return true;
}

void TutorialGrid::LineChosen(int startColumn, int startRow, int endColumn, int endRow, int stepX, int stepY)
{
    // The walk ends at the board's edge whatever the step, so a step that
    // never meets the end cannot run on.
    int counted = 0;
    int column = startColumn;
    int row = startRow;
    while (InBoard(column, row)) {
        ++counted;
        const Request& request = requests[column][row];
        const bool passes = rules.IsDecided({column, row}) || freePlay ||
                            (static_cast<int>(request.action) & rules.dragMode) != 0;
        if (!passes) {
            ShowNotice(request.action == Action::None ? L"blank_tile" : L"incorrect_tile");
            rules.dragMode = PlayRules::kNoDrag;
            return;
        }
        if ((column == endColumn && row == endRow) || (stepX == 0 && stepY == 0))
            break;
        column += stepX;
        row += stepY;
    }
    // Only a "do-tiles" waits for the cells: cells done while the script
    // waits for an OK leave that wait alone, and the "do-tiles" after it
    // finds nothing left to wait for.
    if (revealAll && counted < requestsLeft)
        rules.dragMode = PlayRules::kNoDrag;
}

void TutorialGrid::MoveFinished()
{
    if (waitingForTiles && requestsLeft <= 0) {
        waitingForTiles = false;
        Resume();
    }
}

bool TutorialGrid::RequestLine(Action action, int x1, int y1, int x2, int y2, int group)
{
    if (x2 == 0)
        x2 = x1;
    if (y2 == 0)
        y2 = y1;
    // 1-based on the board (checked before the shift, which the lowest int
    // would overflow), a row or a column, and a group that fits the bit set.
    const auto onBoard = [this](int x, int y) { return x >= 1 && y >= 1 && InBoard(x - 1, y - 1); };
    if (action == Action::None || !onBoard(x1, y1) || !onBoard(x2, y2) || (x1 != x2 && y1 != y2))
        return false;
    group = std::clamp(group, 0, kMaxFlashGroups - 1);
    flashGroups = std::max(flashGroups, group + 1);
    const int dx = (x2 > x1) - (x2 < x1);
    const int dy = (y2 > y1) - (y2 < y1);
    for (int column = x1 - 1, row = y1 - 1;; column += dx, row += dy) {
        // A decided cell can take no move, so asking for it would stop the
        // lesson for good.
        if (!rules.IsDecided({column, row})) {
            Request& request = requests[column][row];
            if (request.action == Action::None)
                ++requestsLeft;
            request.action = action;
            request.groups |= 1u << group;
        }
        if (column == x2 - 1 && row == y2 - 1)
            break;
    }
    MarkDirty();
    return true;
}

void TutorialGrid::ClearRequests()
{
    for (std::vector<Request>& column : requests)
        std::fill(column.begin(), column.end(), Request{});
    requestsLeft = 0;
    flashGroups = 2;
    MarkDirty();
}

std::span<const TutorialGrid::HostWord> TutorialGrid::HostWords()
{
    using Grid = TutorialGrid;
    static constexpr HostWord rows[] = {
        {L"popup", [](Grid& grid, Runner& script) { grid.OpenPopup(script); }},
        {L"ok", [](Grid& grid, Runner& script) { return grid.AwaitOk(script); }},
        {L"reveal", [](Grid& grid, Runner& script) { grid.RequestScriptLine(Action::Reveal, script); }},
        {L"mark", [](Grid& grid, Runner& script) { grid.RequestScriptLine(Action::Mark, script); }},
        {L"do-tiles", [](Grid& grid, Runner& script) { return grid.AwaitTiles(script); }},
        {L"clear-tiles", [](Grid& grid, Runner&) { grid.ClearRequests(); }},
        {L"set-flash-groups",
         [](Grid& grid, Runner& script) {
             grid.flashGroups = std::clamp(script.ReadInt(L"count"), 1, kMaxFlashGroups);
         }},
        {L"highlight", [](Grid& grid, Runner& script) { grid.SetHighlight(script, true); }},
        {L"unhighlight", [](Grid& grid, Runner& script) { grid.SetHighlight(script, false); }},
        {L"set", [](Grid& grid, Runner& script) { return grid.SetRevealMode(script); }},
        {L"flash", [](Grid& grid, Runner& script) { grid.FlashInStep(script); }},
        {L"reset-timer", [](Grid& grid, Runner&) { grid.flashTimer = 0; }},
        {L"add-link", [](Grid& grid, Runner& script) { grid.AddLink(script); }},
        {L"remove-link", [](Grid& grid, Runner& script) { grid.RemoveLink(script.ReadText(L"id")); }},
    };
    return rows;
}

ScriptOutcome TutorialGrid::AwaitOk(Runner& script)
{
    // Without a popup there is no button that could end the wait.
    if (!popup || !popup->GetOkButton())
        return ScriptOutcome::Next;
    popup->GetOkButton()->SetDisabled(false);
    script.SetWait(Animator::Wait::TutorialHost);
    return ScriptOutcome::Suspend;
}

ScriptOutcome TutorialGrid::AwaitTiles(Runner& script)
{
    if (requestsLeft <= 0)
        return ScriptOutcome::Next;
    waitingForTiles = true;
    script.SetWait(Animator::Wait::TutorialHost);
    return ScriptOutcome::Suspend;
}

void TutorialGrid::RequestScriptLine(Action action, Runner& script)
{
    RequestLine(action, script.ReadInt(L"x1"), script.ReadInt(L"y1"), script.ReadInt(L"x2"),
                script.ReadInt(L"y2"), script.ReadInt(L"group"));
}

ScriptOutcome TutorialGrid::SetRevealMode(Runner& script)
{
    // Any other "set" is the script's own.
    if (!script.Has(L"reveal-mode"))
        return ScriptOutcome::NotMine;
    revealAll = script.ReadText(L"reveal-mode") == L"all";
    return ScriptOutcome::Next;
}

void TutorialGrid::FlashInStep(Runner& script)
{
    if (DynamicWidget* object = script.ReadObject(L"id"))
        object->Flash(kFlashTicks / 2, 0, flashTimer % kFlashTicks);
}

void TutorialGrid::OpenPopup(Runner& script)
{
    ClosePopup();
    // The script lays the message out as a text label; the label stays
    // hidden, and the panel opens where it stands, in screen pixels.
    TextBoxBuilder(script).AddTextLabel(script.ReadInt(L"text_dy"), script.ReadInt(L"padding_bottom"));
    popupAnchorName = script.ReadText(L"id");
    popupAnchor = script.FindObject(popupAnchorName);
    int x = script.ReadInt(L"x");
    int y = script.ReadInt(L"y");
    if (popupAnchor) {
        popupAnchor->SetVisible(false);
        x = static_cast<int>(popupAnchor->GetX());
        y = static_cast<int>(popupAnchor->GetY());
    }
    popup = new TextboxPopup(app, x, y, ::GetImage(L"TutorialPanel"), this);
    const int wrapWidth =
        script.Has(L"width") ? script.ReadInt(L"width") : popup->GetWidth() - 2 * kMessageMargin;
    auto* label =
        new TextLabel(CommandReader(script).ReadShownText(L"text"), popup->GetWidth() / 2, kMessageTop,
                      script.Has(L"font") ? script.ReadText(L"font") : L"menu", wrapWidth, 0, 0, -1);
    popup->AddWidget(label);
    popupWatch.Track(popup->GetRemovalLink());
    popup->Show();
}

void TutorialGrid::PopupWatch::WidgetRemoved(int id)
{
    if (m_grid.popup && m_grid.popup->GetId() == id)
        m_grid.popup = nullptr;
}

void TutorialGrid::ClosePopup()
{
    if (TextboxPopup* closing = popup) {
        popup = nullptr;
        closing->RemoveSelf();
    }
    // The script may have removed the label itself.
    if (popupAnchor && runner->FindObject(popupAnchorName) == popupAnchor)
        popupAnchor->RemoveSelf();
    popupAnchor = nullptr;
    popupAnchorName.clear();
}

void TutorialGrid::AddLink(Runner& script)
{
    const std::wstring id = script.ReadText(L"id");
    RemoveLink(id);
    if (!linkLayer)
        return;
    auto* link = new HyperlinkWidget(this);
    link->SetFont(script.ReadFont(L"font"));
    if (script.Has(L"font-over"))
        link->SetFont(script.ReadFont(L"font-over"), ButtonWidget::Over);
    link->SetLabel(Localize(script.ReadText(L"text")));
    link->CenterAt(script.ReadInt(L"x"), script.ReadInt(L"y"), script.ReadInt(L"width"));
    linkLayer->AddWidget(link);
    links[id] = Link{link, script.ReadText(L"popup-text")};
}

void TutorialGrid::RemoveLink(const std::wstring& id)
{
    const auto found = links.find(id);
    if (found == links.end())
        return;
    found->second.widget->RemoveSelf();
    links.erase(found);
}

HyperlinkWidget* TutorialGrid::FindLink(const std::wstring& id) const
{
    const auto found = links.find(id);
    return found != links.end() ? found->second.widget : nullptr;
}

void TutorialGrid::SetHighlight(Runner& script, bool on)
{
    const bool columns = !script.ReadText(L"col").empty();
    const int list = columns ? 0 : 1;
    // 1-based, checked before the shift, which the lowest int would overflow.
    const int number = script.ReadInt(columns ? L"col" : L"row");
    const std::vector<ClueList>& lists = columns ? rules.ColumnClues() : rules.RowClues();
    if (number < 1 || number > static_cast<int>(lists.size()))
        return;
    const int line = number - 1;
    const int entries = static_cast<int>(lists[line].size());
    const int position = script.ReadInt(L"position");
    if (position > 0) {
        if (position <= entries)
            clueHighlights[{list, line, position - 1}] = on;
    } else {
        for (int entry = 0; entry < entries; ++entry)
            clueHighlights[{list, line, entry}] = on;
    }
    MarkDirty();
}

void TutorialGrid::DrawClueNumber(Graphics* g, int x, int y, int list, int line, int entry, bool highlighted)
{
    if (!highlighted) {
        const auto found = clueHighlights.find({list, line, entry});
        highlighted = found != clueHighlights.end() && found->second;
    }
    PlayTileGrid::DrawClueNumber(g, x, y, list, line, entry, highlighted);
}

void TutorialGrid::Update()
{
    PlayTileGrid::Update();
    // A hint lamp may do the last requested cells without a move.
    if (waitingForTiles && requestsLeft <= 0) {
        waitingForTiles = false;
        Resume();
    }
    flashTimer = (flashTimer + 1) % (flashGroups * kFlashTicks);
    if (flashTimer % kFlashTicks == 0)
        MarkDirty();
    // The requested cells blink on their own.
    if (requestsLeft > 0)
        WantTicks();
}

void TutorialGrid::Draw(Graphics* g)
{
    PlayTileGrid::Draw(g);
    // The requested cells are drawn over the board even when the pointer is away.
    DeferOverlay(0);
}

void TutorialGrid::DrawOverlay(Graphics* g)
{
    PlayTileGrid::DrawOverlay(g);
    if (requestsLeft <= 0 || flashTimer < 0)
        return;
    const unsigned group = 1u << (flashTimer / kFlashTicks);
    const int n = static_cast<int>(requests.size());
    // The line being dragged shows the drag's own highlight instead.
    std::vector<std::vector<bool>> dragged(n, std::vector<bool>(n, false));
    if (rules.dragMode != PlayRules::kNoDrag) {
        const GridCell step = rules.LineStep();
        GridCell cell = rules.lineStart;
        for (int count = 0; count < n && InBoard(cell.column, cell.row); ++count) {
            dragged[cell.column][cell.row] = true;
            if (cell == rules.lineEnd || (step.column == 0 && step.row == 0))
                break;
            cell.column += step.column;
            cell.row += step.row;
        }
    }
    for (int column = 0; column < n; ++column) {
        for (int row = 0; row < n; ++row) {
            const Request& request = requests[column][row];
            if (request.action == Action::None || (request.groups & group) == 0 || dragged[column][row])
                continue;
            if (Image* image = requestImages[static_cast<int>(request.action) - 1])
                g->DrawImage(image, column * cellSize, row * cellSize);
        }
    }
}

void TutorialGrid::ButtonDepress(int id)
{
    if (popup && popup->GetOkButton() && popup->GetOkButton()->GetId() == id) {
        ClosePopup();
        Resume();
        return;
    }
    for (const auto& [name, link] : links) {
        if (link.widget->GetId() == id) {
            ShowNotice(link.popupText);
            return;
        }
    }
    PlayTileGrid::ButtonDepress(id);
}

void TutorialGrid::AddedToParent(WidgetContainer* parent)
{
    PlayTileGrid::AddedToParent(parent);
    // The links get a layer of their own over the whole screen; it takes no
    // pointer itself, so the board beneath keeps the clicks between them.
    if (!linkLayer) {
        linkLayer = new PassiveWidget(0, 0, nullptr, false);
        linkLayer->Resize(0.0f, 0.0f, app.GetWidth(), app.GetHeight());
        linkLayer->SetOverlayLevel(kLinkLayerLevel);
        linkLayer->SetPriority(kLinkLayerLevel);
    }
    parent->AddWidget(linkLayer);
}

void TutorialGrid::RemovedFromManager(WidgetManager* manager)
{
    ClosePopup();
    // The layer takes its links along.
    links.clear();
    if (linkLayer) {
        linkLayer->RemoveSelf();
        linkLayer = nullptr;
    }
    PlayTileGrid::RemovedFromManager(manager);
}
