#include "app/TextboxPopup.h"
#include "puzzle/GameData.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/TutorialGrid.h"
#include "support/AppHarness.h"
#include "ui/ButtonWidget.h"
#include "ui/NoticeMenuMaker.h"
#include "ui/WidgetManager.h"

#include <gtest/gtest.h>

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
    bool Decided(int column, int row) const { return rules.IsDecided({column, row}); }
};

class RecordingNotices : public NoticeMenuMaker
{
public:
    DynamicWidget* ShowNoticeMenu(const std::wstring& text) override
    {
        shown.push_back(text);
        return nullptr;
    }
    std::vector<std::wstring> shown;
};

class TutorialGridTest : public AppTest
{
protected:
    AppHarnessOptions Options() override { return AppHarnessOptions::WithGameData(); }

    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Harness().IsValid()) << Harness().GetError();
        ASSERT_TRUE(Harness().RunUntilLoaded());
        LoadGameTables("properties/", {});
        previousNotices = NoticeMenuMaker::Get();
        NoticeMenuMaker::Register(&notices);
        // The heart, first of the primer set.
        grid = new ProbeGrid(0, 0, 0);
        Manager().AddWidget(grid);
        Harness().RunTicks(1);
    }

    void TearDown() override
    {
        NoticeMenuMaker::Register(previousNotices);
        AppTest::TearDown();
        ClearGameTables();
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

    RecordingNotices notices;
    NoticeMenuMaker* previousNotices{nullptr};
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
    EXPECT_TRUE(grid->IsWaitingForTiles());
}

} // namespace
