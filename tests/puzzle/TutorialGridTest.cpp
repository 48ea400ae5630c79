#include "puzzle/TutorialGrid.h"
#include "app/TextboxPopup.h"
#include "puzzle/GameData.h"
#include "puzzle/HintIcon.h"
#include "puzzle/HintMeter.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "resources/Localization.h"
#include "support/AppHarness.h"
#include "support/BoardDriving.h"
#include "support/RecordingNotices.h"
#include "ui/ButtonWidget.h"
#include "ui/HyperlinkWidget.h"
#include "ui/PassiveWidget.h"
#include "ui/TextLabel.h"
#include "ui/WidgetManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Action = TutorialGrid::Action;

// Reaches the drag state the pointer would set.
class ProbeGrid : public TutorialGrid
{
public:
    using TutorialGrid::TutorialGrid;
    void SetDragMode(int mode) { rules.dragMode = mode; }
    int DragMode() const { return rules.dragMode; }
    bool Decided(int column, int row) const { return rules.IsDecided({column, row}); }
    using TutorialGrid::HintTrailArrived;
};

// The application whose notices the grid shows: recorded, never shown.
class NoticeRecordingApp : public GameApp
{
public:
    explicit NoticeRecordingApp(NoticeMenuMaker& notices)
        : GameApp(L"Tarnvale 6", L"v1.2", 1024, 768), m_notices(notices)
    {
    }
    NoticeMenuMaker* GetNoticeMenuMaker() override { return &m_notices; }

private:
    NoticeMenuMaker& m_notices;
};

class TutorialGridTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithGameData();
        options.makeApp = [this] { return std::make_unique<NoticeRecordingApp>(notices); };
        return options;
    }

    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Harness().IsValid()) << Harness().GetError();
        ASSERT_TRUE(Harness().RunUntilLoaded());
        LoadGameTables("properties/", {});
        // The heart, first of the primer set.
        grid = new ProbeGrid(App(), 0, 0, 0);
        Manager().AddWidget(grid);
        Harness().RunTicks(1);
    }

    void TearDown() override
    {
        AppTest::TearDown();
        ClearGameTables();
        ProfileManager::SetEnvironment({});
    }

    // A drag over a row of cells with the left (reveal) or right (mark) button.
    void DragRow(int row, int fromColumn, int toColumn, bool reveal)
    {
        const int cell = grid->GetCellSize();
        grid->MouseDown(fromColumn * cell + cell / 2, row * cell + cell / 2, reveal ? 1 : -1);
        grid->MouseUp(toColumn * cell + cell / 2, row * cell + cell / 2);
        Harness().RunTicks(1);
    }

    void PressOk()
    {
        ASSERT_NE(grid->GetPopup(), nullptr);
        ButtonWidget* ok = grid->GetPopup()->GetOkButton();
        ASSERT_NE(ok, nullptr);
        ASSERT_FALSE(ok->IsDisabled());
        grid->ButtonDepress(ok->GetId());
        Harness().RunTicks(1);
    }

    // Plays a lesson of the test's own as the first primer puzzle's.
    void BeginLesson(const std::string& body)
    {
        ASSERT_TRUE(Harness().LoadScripts("<animation name=\"tutorial_1\">" + body + "</animation>"));
        grid->BeginPlay();
        Harness().RunTicks(2);
    }
    void ClickAt(Widget* widget)
    {
        Harness().ClickCentre(widget);
        Harness().RunTicks(1);
    }
    static bool HoldsId(const WidgetContainer& container, int id)
    {
        for (Widget* child : container.GetChildren()) {
            if (child->GetId() == id || HoldsId(*child, id))
                return true;
        }
        return false;
    }

    RecordingNotices notices;
    ProbeGrid* grid{nullptr};
};

TEST_F(TutorialGridTest, TheScriptAcceptsTheRequestedLineAndRefusesOthersWithTheirNotice)
{
    EXPECT_EQ(grid->GetScriptName(), L"tutorial_1");
    EXPECT_TRUE(grid->IsDisabled());
    grid->BeginPlay();
    Harness().RunTicks(2);
    EXPECT_FALSE(grid->IsDisabled());
    // The first popup waits for its OK; then the second row is asked for.
    EXPECT_EQ(grid->GetRequestsLeft(), 0);
    PressOk();
    ASSERT_EQ(grid->GetRequestsLeft(), 5);
    EXPECT_EQ(grid->RequestedAction(0, 1), Action::Reveal);
    EXPECT_EQ(grid->RequestedAction(0, 0), Action::None);

    // The top row was not asked for; the second row with the marking tool is
    // the wrong tool. Neither changes a cell.
    DragRow(0, 0, 4, true);
    DragRow(1, 0, 4, false);
    EXPECT_EQ(notices.shown, (std::vector<std::wstring>{L"blank_tile", L"incorrect_tile"}));
    EXPECT_EQ(grid->GetRequestsLeft(), 5);
    EXPECT_FALSE(grid->Decided(1, 0));
    EXPECT_FALSE(grid->Decided(0, 1));

    // The requested row is taken, and the script goes on to the next one.
    DragRow(1, 0, 4, true);
    EXPECT_EQ(notices.shown.size(), 2u);
    for (int column = 0; column < 5; ++column)
        EXPECT_TRUE(grid->Decided(column, 1)) << column;
    EXPECT_EQ(grid->RequestedAction(0, 2), Action::Reveal);
    EXPECT_EQ(grid->GetRequestsLeft(), 5);
    DragRow(2, 0, 4, true);
    EXPECT_TRUE(grid->Decided(4, 2));
    EXPECT_EQ(grid->GetRequestsLeft(), 0);
    // The closing popup's OK ends the script: the board is free.
    EXPECT_FALSE(grid->IsFreePlay());
    PressOk();
    EXPECT_TRUE(grid->IsFreePlay());
    DragRow(3, 1, 3, true);
    EXPECT_TRUE(grid->Decided(2, 3));
    EXPECT_EQ(notices.shown.size(), 2u);
}

TEST_F(TutorialGridTest, RequestsStayOnTheBoardInStraightLinesWithinTheFlashGroups)
{
    // 1-based; a missing end is the start.
    EXPECT_TRUE(grid->RequestLine(Action::Reveal, 2, 3, 0, 0, 0));
    EXPECT_EQ(grid->RequestedAction(1, 2), Action::Reveal);
    EXPECT_EQ(grid->GetRequestsLeft(), 1);
    // Off the board, a diagonal or a crooked line: nothing is requested.
    EXPECT_FALSE(grid->RequestLine(Action::Reveal, 0, 1, 3, 1, 0));
    EXPECT_FALSE(grid->RequestLine(Action::Reveal, 4, 1, 9, 1, 0));
    EXPECT_FALSE(grid->RequestLine(Action::Mark, 1, 1, 3, 3, 0));
    EXPECT_FALSE(grid->RequestLine(Action::Mark, 1, 1, 2, 5, 0));
    EXPECT_EQ(grid->GetRequestsLeft(), 1);
    EXPECT_EQ(grid->RequestedAction(0, 0), Action::None);
    // A later group adds flash groups; a group past the bit set is held to it.
    EXPECT_TRUE(grid->RequestLine(Action::Mark, 1, 1, 1, 5, 3));
    EXPECT_EQ(grid->GetFlashGroups(), 4);
    EXPECT_TRUE(grid->RequestLine(Action::Mark, 5, 1, 0, 0, 40));
    EXPECT_EQ(grid->GetFlashGroups(), TutorialGrid::kMaxFlashGroups);
    EXPECT_EQ(grid->GetRequestsLeft(), 7);
    grid->ClearRequests();
    EXPECT_EQ(grid->GetRequestsLeft(), 0);
    EXPECT_EQ(grid->GetFlashGroups(), 2);
}

TEST_F(TutorialGridTest, ALineWhoseStepNeverMeetsItsEndStopsAtTheBoardEdge)
{
    ASSERT_TRUE(grid->RequestLine(Action::Reveal, 1, 2, 5, 2, 0));
    grid->SetDragMode(1);
    // Neither returns without the edge check: a step of nothing, and a step
    // that passes beside its end.
    grid->LineChosen(0, 1, 4, 3, 0, 0);
    grid->LineChosen(0, 1, 4, 3, 1, 0);
    EXPECT_TRUE(notices.shown.empty());
    EXPECT_EQ(grid->DragMode(), 1);
}

TEST_F(TutorialGridTest, APopupOpensWhereItsHiddenLabelStandsAndTakesItAlongWhenClosed)
{
    BeginLesson(R"(<popup id="note" text="tutorial_1_row" x="70" y="1" width="600"/>
                   <reveal x1="1" y1="1"/>
                   <ok/>
                   <popup text="tutorial_1_done" x="100" y="30"/>
                   <ok/>)");
    TextboxPopup* popup = grid->GetPopup();
    ASSERT_NE(popup, nullptr);
    DynamicWidget* anchor = grid->GetPopupAnchor();
    ASSERT_NE(anchor, nullptr);
    EXPECT_FALSE(anchor->IsVisible());
    EXPECT_EQ(anchor->GetName(), L"note");
    EXPECT_EQ(popup->GetX(), 70.0f);
    EXPECT_EQ(popup->GetY(), 1.0f);
    TextLabel* message = nullptr;
    for (Widget* child : popup->GetChildren()) {
        if (auto* label = dynamic_cast<TextLabel*>(child))
            message = label;
    }
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetText(), Localize(L"tutorial_1_row"));
    EXPECT_LE(message->GetTextWidth(), 600);

    // The message holds no input: the board beside it takes the requested cell.
    DragCells(Harness(), *grid, {0, 0}, {0, 0});
    EXPECT_TRUE(grid->Decided(0, 0));

    // The OK closes the panel and its label; the next popup has a new one.
    const int anchorId = anchor->GetId();
    ClickAt(popup->GetOkButton());
    EXPECT_FALSE(HoldsId(*grid, anchorId));
    ASSERT_NE(grid->GetPopup(), nullptr);
    EXPECT_NE(grid->GetPopup(), popup);
    EXPECT_EQ(grid->GetPopup()->GetX(), 100.0f);
    ASSERT_NE(grid->GetPopupAnchor(), nullptr);
    EXPECT_NE(grid->GetPopupAnchor()->GetId(), anchorId);
    PressOk();
    EXPECT_EQ(grid->GetPopup(), nullptr);
    EXPECT_EQ(grid->GetPopupAnchor(), nullptr);
    EXPECT_TRUE(grid->IsFreePlay());
}

TEST_F(TutorialGridTest, APopupClosedWithTheOtherMenusIsForgotten)
{
    BeginLesson(R"(<popup text="tutorial_1_clues" x="70" y="1"/><ok/>)");
    ASSERT_NE(grid->GetPopup(), nullptr);
    App().MarkMenusForClose();
    App().CloseMarkedMenus();
    Harness().RunTicks(2);
    EXPECT_EQ(grid->GetPopup(), nullptr);
    // Leaving the screen afterwards reaches for no deleted panel.
    grid->DetachSelf();
    Harness().RunTicks(1);
    Manager().AddWidget(grid);
}

TEST_F(TutorialGridTest, HintsThatDoTheLastRequestedCellsEndTheWait)
{
    BeginLesson(R"(<reveal x1="1" y1="2" x2="5"/>
                   <do-tiles/>
                   <reveal x1="1" y1="3" x2="5"/>
                   <do-tiles/>
                   <popup text="tutorial_1_done" x="70" y="1"/>
                   <ok/>)");
    ASSERT_EQ(grid->GetRequestsLeft(), 5);
    // The lamps land on every tile; only the requested row takes them, and
    // the lesson goes on to the next row without a move of the player's.
    grid->RevealHintTiles(900, 80, 25);
    Harness().RunTicks(200);
    for (int column = 0; column < 5; ++column)
        EXPECT_TRUE(grid->Decided(column, 1)) << column;
    EXPECT_FALSE(grid->Decided(1, 0));
    EXPECT_EQ(grid->GetRequestsLeft(), 5);
    EXPECT_EQ(grid->RequestedAction(0, 2), Action::Reveal);
    EXPECT_EQ(grid->GetPopup(), nullptr);
    DragRow(2, 0, 4, true);
    EXPECT_NE(grid->GetPopup(), nullptr);
    // A request for a cell already decided asks for nothing.
    EXPECT_TRUE(grid->RequestLine(Action::Reveal, 1, 2, 5, 2, 0));
    EXPECT_EQ(grid->GetRequestsLeft(), 0);
    EXPECT_EQ(grid->RequestedAction(0, 1), Action::None);
}

// The lesson's message stands over the board while it runs: a lamp filled
// then does not open the hints' first notice on top of it. The player has
// not seen that notice, so a lamp filled after the lesson shows it.
TEST_F(TutorialGridTest, TheFirstLampWaitsForTheLessonToEndBeforeItsNotice)
{
    ProfileEnvironment environment;
    environment.dataFolder = Harness().DataFolder();
    ProfileManager::SetEnvironment(environment);
    ProfileManager::CreateProfile(L"Ann");
    PlayerState* state = GetCurrentPlayerState();
    ASSERT_NE(state, nullptr);
    ASSERT_FALSE(state->seenHint);
    auto* meter = new HintMeter(700, 20, 240, 120, 5, 1);
    Manager().AddWidget(meter);
    grid->SetMeters(meter, nullptr);
    BeginLesson(R"(<reveal x1="1" y1="2"/>
                   <popup text="tutorial_1_done" x="70" y="1"/>
                   <do-tiles/>)");
    ASSERT_NE(grid->GetPopup(), nullptr);

    auto fillLamp = [this, meter] {
        const int filling = meter->GetFilling();
        ASSERT_GE(filling, 0);
        for (int step = 0; step < 100 && !meter->GetIcons()[static_cast<size_t>(filling)]->IsFull(); ++step)
            grid->HintTrailArrived();
        ASSERT_TRUE(meter->GetIcons()[static_cast<size_t>(filling)]->IsFull());
    };
    fillLamp();
    EXPECT_TRUE(notices.shown.empty());
    EXPECT_FALSE(state->seenHint);

    // The requested tile, a step towards the next lamp, ends the lesson.
    DragRow(1, 0, 0, true);
    Harness().RunTicks(2);
    ASSERT_TRUE(grid->IsFreePlay());
    EXPECT_TRUE(notices.shown.empty());
    fillLamp();
    EXPECT_EQ(notices.shown, std::vector<std::wstring>{L"hint_intro"});
    EXPECT_TRUE(state->seenHint);
}

TEST_F(TutorialGridTest, AnOkWithoutAPopupDoesNotStopTheLesson)
{
    BeginLesson(R"(<ok/><reveal x1="2" y1="3"/>)");
    EXPECT_EQ(grid->GetRequestsLeft(), 1);
    EXPECT_EQ(grid->RequestedAction(1, 2), Action::Reveal);
    EXPECT_TRUE(grid->IsFreePlay());
}

TEST_F(TutorialGridTest, LinksLieOverTheScreenOpenTheirNoticeAndGoWithTheGrid)
{
    // The layer comes with the grid: over the whole screen, above the board,
    // taking no pointer itself.
    PassiveWidget* layer = grid->GetLinkLayer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->GetParent(), grid->GetParent());
    EXPECT_EQ(layer->GetWidth(), App().GetWidth());
    EXPECT_EQ(layer->GetHeight(), App().GetHeight());
    EXPECT_EQ(layer->GetOverlayLevel(), 1);
    EXPECT_EQ(layer->GetPriority(), 1);
    EXPECT_FALSE(layer->IsMouseVisible());

    BeginLesson(R"(<add-link id="why" text="tutorial_1_clues" font="menu" font-over="button"
                             x="400" y="680" width="300" popup-text="blank_tile"/>
                   <add-link id="other" text="primer" font="menu" x="850" y="40" width="200"
                             popup-text="incorrect_tile"/>
                   <reveal x1="1" y1="1"/>
                   <popup text="tutorial_1_row" x="70" y="1"/>
                   <ok/>
                   <remove-link id="other"/>
                   <remove-link id="nothing"/>
                   <popup text="tutorial_1_done" x="70" y="1"/>
                   <ok/>)");
    HyperlinkWidget* why = grid->FindLink(L"why");
    HyperlinkWidget* other = grid->FindLink(L"other");
    ASSERT_NE(why, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(why->GetParent(), layer);
    EXPECT_EQ(why->GetLabel(), Localize(L"tutorial_1_clues"));
    EXPECT_LE(why->GetWidth(), 300);
    EXPECT_NEAR(why->GetX() + why->GetWidth() / 2.0f, 400.0f, 1.0f);
    EXPECT_EQ(why->GetY(), 680.0f);
    EXPECT_NE(why->GetStateFont(ButtonWidget::Over), nullptr);

    // A click on a link opens its notice; the board keeps the clicks beside it.
    ClickAt(why);
    ClickAt(other);
    EXPECT_EQ(notices.shown, (std::vector<std::wstring>{L"blank_tile", L"incorrect_tile"}));
    DragCells(Harness(), *grid, {0, 0}, {0, 0});
    EXPECT_TRUE(grid->Decided(0, 0));

    // The script removes one link by its id; an unknown id changes nothing.
    const int otherId = other->GetId();
    PressOk();
    EXPECT_EQ(grid->FindLink(L"other"), nullptr);
    EXPECT_FALSE(HoldsId(*layer, otherId));
    EXPECT_EQ(grid->FindLink(L"why"), why);

    // Leaving the screen takes the layer and its links along.
    const int layerId = layer->GetId();
    const int whyId = why->GetId();
    grid->DetachSelf();
    Harness().RunTicks(1);
    EXPECT_EQ(grid->GetLinkLayer(), nullptr);
    EXPECT_EQ(grid->FindLink(L"why"), nullptr);
    EXPECT_FALSE(HoldsId(Manager(), layerId));
    EXPECT_FALSE(HoldsId(Manager(), whyId));
    EXPECT_EQ(grid->GetPopup(), nullptr);
    // Back on the screen, the grid has a layer again.
    Manager().AddWidget(grid);
    ASSERT_NE(grid->GetLinkLayer(), nullptr);
    EXPECT_TRUE(HoldsId(Manager(), grid->GetLinkLayer()->GetId()));
}

} // namespace

// Every word of the lesson, given missing, huge, negative, empty and very
// long attributes, leaves the board whole and the lesson able to end.
TEST_F(TutorialGridTest, EveryLessonWordSurvivesMissingAndHostileAttributes)
{
    const std::vector<std::string> attributes = {
        "x1",       "y1",          "x2",         "y2",      "group",          "count",     "col",   "row",
        "position", "reveal-mode", "id",         "text",    "font",           "font-over", "x",     "y",
        "width",    "height",      "popup-text", "text_dy", "padding_bottom", "textbox",   "align", "valign"};
    const std::vector<std::string> hostile = {"1e30", "-1e30", "-1", "", "'" + std::string(10000, 'w') + "'"};
    const int n = grid->GridSize();
    for (const TutorialGrid::HostWord& row : TutorialGrid::HostWords()) {
        const std::string word(row.word.begin(), row.word.end());
        std::vector<std::string> forms = {"<" + word + "/>"};
        for (const std::string& value : hostile) {
            std::string form = "<" + word;
            for (const std::string& attribute : attributes)
                form += " " + attribute + "=\"" + value + "\"";
            forms.push_back(form + "/>");
        }
        for (const std::string& form : forms) {
            SCOPED_TRACE(form.substr(0, 80));
            // A popup left waiting for its OK is closed by the lesson's end.
            BeginLesson(form + "<clear-tiles/>");
            EXPECT_TRUE(grid->IsFreePlay());
            EXPECT_EQ(grid->GetRequestsLeft(), 0);
            EXPECT_LE(grid->GetFlashGroups(), TutorialGrid::kMaxFlashGroups);
            EXPECT_EQ(grid->GetPopup(), nullptr);
            EXPECT_EQ(grid->GridSize(), n);
        }
    }
}
