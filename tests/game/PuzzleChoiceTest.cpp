#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "game/LevelCompleteMenu.h"
#include "game/PuzzleSelectMenu.h"
#include "game/ScreenTransition.h"
#include "game/SelectSetMenu.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "puzzle/SmallArtGrid.h"
#include "ui/AnimationWidget.h"
#include "ui/ButtonWidget.h"
#include "ui/TextLabel.h"

#include <string>

namespace {

class PuzzleChoiceTest : public GameTest
{
protected:
    bool RunUntilUncovered()
    {
        return Harness().RunUntil([this] { return FindMenu<ScreenTransition>() == nullptr; });
    }
    PuzzleSelectMenu* ShowChoice(int set, int solvedPuzzle)
    {
        auto* choice = new PuzzleSelectMenu(Game(), 0, set, solvedPuzzle, false);
        choice->Show();
        Harness().RunTicks(1);
        return choice;
    }
    void Point(PuzzleSelectMenu* choice, int puzzle)
    {
        choice->ButtonMouseEnter(choice->GetIcons()[static_cast<size_t>(puzzle)].button->GetId());
    }
    std::wstring PuzzleName(int set, int puzzle) { return Localize(gPuzzleTable.Find(0, set, puzzle)->name); }
};

// The choice's own transition tells it when the screen is uncovered; it then
// builds its icons again from the profile as it stands.
TEST_F(PuzzleChoiceTest, TheIconsAreBuiltAgainOnceTheTransitionUncoversTheScreen)
{
    PlayerState& state = NewPlayer();
    state.currentCountry = 1;
    state.EnsureSet(0, 1)->unlock = 2;
    PuzzleSelectMenu* choice = ShowChoice(1, -1);
    ASSERT_NE(FindMenu<ScreenTransition>(), nullptr);
    EXPECT_EQ(choice->GetIcons()[1].button->GetStyle(), L"ui_Puzzle_Current");

    state.EnsurePuzzle(0, 1, 1)->completed = true;
    Harness().RunTicks(5);
    EXPECT_EQ(choice->GetIcons()[1].button->GetStyle(), L"ui_Puzzle_Current") << "still covered";
    ASSERT_TRUE(RunUntilUncovered());
    EXPECT_EQ(choice->GetIcons()[1].button->GetStyle(), L"ui_Puzzle_Complete");
    EXPECT_EQ(choice->GetShownPuzzle(), 1) << "the last solved puzzle shows";
    EXPECT_TRUE(Shown().empty());
}

// Completing the last main set through the choice opens the ending once the
// transition is over; an earlier set's completion does not.
TEST_F(PuzzleChoiceTest, TheLastMainSetCompletedOpensTheEndingWhenUncovered)
{
    PlayerState& state = NewPlayer();
    const int lastSet = gSetTable.SetCount(0) - 1;
    for (int set : {1, lastSet}) {
        const int count = gPuzzleTable.PuzzleCount(0, set);
        ASSERT_GT(count, 0);
        state.currentCountry = set;
        state.EnsureSet(0, set)->unlock = count;
        PuzzleSelectMenu* choice = ShowChoice(set, count - 1);
        ASSERT_EQ(choice->GetCompletedSet(), set);
        EXPECT_TRUE(Shown().empty()) << "not before the screen is uncovered";
        ASSERT_TRUE(RunUntilUncovered());
        if (set == lastSet)
            EXPECT_EQ(Shown(), std::vector<std::wstring>{L"story_final"});
        else
            EXPECT_TRUE(Shown().empty());
        CloseAllMenus();
    }
}

// From the solve's dialog back to the choice: the panel names the solved
// picture with its best time and shows the picture itself.
TEST_F(PuzzleChoiceTest, AfterASolveThePanelNamesTheSolvedPicture)
{
    PlayerState& state = NewPlayer();
    state.currentCountry = 1;
    state.EnsureSet(0, 1)->unlock = 1;
    // The play screen records the time of the solve.
    state.EnsurePuzzle(0, 1, 0)->bestTime = 75;
    auto* complete = new LevelCompleteMenu(Game(), 0, 1, 0, 75, 0, 0, nullptr, true);
    complete->Show();
    ASSERT_TRUE(Harness().RunUntil([complete] { return complete->GetOkButton() != nullptr; }));
    complete->Confirm();
    ASSERT_TRUE(Harness().RunUntil([this] { return FindMenu<PuzzleSelectMenu>() != nullptr; }));
    PuzzleSelectMenu* choice = FindMenu<PuzzleSelectMenu>();
    ASSERT_TRUE(RunUntilUncovered());
    Harness().RunTicks(40);
    Snap("choice_after_solve");

    ASSERT_EQ(choice->GetShownPuzzle(), 0);
    EXPECT_EQ(choice->GetNameLabel()->GetText(), PuzzleName(1, 0));
    EXPECT_NE(choice->GetNameLabel()->GetText(), Localize(L"exhibit_name_unbeaten"));
    EXPECT_EQ(choice->GetTimeLabel()->GetText(), StrFormatW(Localize(L"exhibit_time"), 1, 15));
    SmallArtGrid* preview = choice->GetIcons()[0].preview;
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->IsVisible());
    EXPECT_FALSE(preview->DrawsFrame());

    // Pointing at the puzzle the solve opened, and back.
    ASSERT_EQ(choice->GetIcons()[1].button->GetStyle(), L"ui_Puzzle_Current");
    Point(choice, 1);
    EXPECT_EQ(choice->GetNameLabel()->GetText(), Localize(L"exhibit_name_unbeaten"));
    EXPECT_FALSE(preview->IsVisible());
    EXPECT_TRUE(choice->GetIcons()[1].preview->IsVisible());
    Point(choice, 0);
    EXPECT_EQ(choice->GetNameLabel()->GetText(), PuzzleName(1, 0));
}

// The bottom button names where it leads: the map from a main set, the
// bonus set list from a bonus set.
TEST_F(PuzzleChoiceTest, TheWayBackIsNamedForWhereItLeads)
{
    PlayerState& state = NewPlayer();
    state.EnsureSet(1, 0)->unlock = 1;
    for (int mode : {0, 1}) {
        state.currentMode = mode;
        state.currentCountry = 0;
        auto* choice = new PuzzleSelectMenu(Game(), mode, 0, -1, false);
        choice->Show();
        ASSERT_TRUE(RunUntilUncovered());
        auto* back = dynamic_cast<ButtonWidget*>(choice->FindObject(L"map"));
        ASSERT_NE(back, nullptr) << mode;
        EXPECT_EQ(back->GetLabel(), Localize(mode == 1 ? L"button_bonus_sets" : L"button_world_map")) << mode;
        if (mode == 1) {
            const int x = static_cast<int>(back->GetX()) + back->GetWidth() / 2;
            const int y = static_cast<int>(back->GetY()) + back->GetHeight() / 2;
            Harness().MouseMove(x, y);
            Harness().Click(x, y);
            ASSERT_TRUE(Harness().RunUntil([this] { return FindMenu<SelectSetMenu>() != nullptr; }));
        }
        CloseAllMenus();
    }
}

// The real renderer: each preview lies in the panel's well, solved or not,
// at every board size.
class PuzzleChoicePixelsTest : public PuzzleChoiceTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = GameTest::Options();
        options.readPixels = AppHarnessOptions::WithPixels().readPixels;
        return options;
    }
    static bool IsGold(std::uint32_t pixel)
    {
        const int red = static_cast<int>((pixel >> 16) & 0xFF);
        const int green = static_cast<int>((pixel >> 8) & 0xFF);
        const int blue = static_cast<int>(pixel & 0xFF);
        return red > 170 && green > 130 && blue < 110;
    }
};

TEST_F(PuzzleChoicePixelsTest, EveryPreviewSitsInsideThePanelsWell)
{
    PlayerState& state = NewPlayer();
    // The harbour: 10 x 10 and 15 x 15 puzzles; the garden starts with 5 x 5.
    for (int set : {1, 2}) {
        state.currentCountry = set;
        state.EnsureSet(0, set)->unlock = gPuzzleTable.PuzzleCount(0, set);
        for (int puzzle = 0; puzzle < gPuzzleTable.PuzzleCount(0, set); puzzle += 2)
            state.EnsurePuzzle(0, set, puzzle)->completed = true;
        PuzzleSelectMenu* choice = ShowChoice(set, -1);
        ASSERT_TRUE(RunUntilUncovered());
        Harness().RunTicks(40);
        for (int puzzle = 0; puzzle < gPuzzleTable.PuzzleCount(0, set); ++puzzle) {
            Point(choice, puzzle);
            Harness().RunTicks(2);
            Harness().Redraw();
            const SmallArtGrid* preview = choice->GetIcons()[static_cast<size_t>(puzzle)].preview;
            const bool solved = state.IsCompleted(0, set, puzzle);
            const int n = gPuzzleTable.Find(0, set, puzzle)->GridSize();
            Snap("choice_" + std::to_string(n) + (solved ? "_solved" : "_unsolved"));
            ASSERT_TRUE(preview->IsVisible());
            EXPECT_EQ(preview->DrawsFrame(), !solved);
            // The picture covers (1, 4) to (241, 244) of the panel; the well's
            // gold edge, or the frame's rim, lies around it on every side.
            const int x = static_cast<int>(choice->GetPreviewPanel()->GetX());
            const int y = static_cast<int>(choice->GetPreviewPanel()->GetY());
            EXPECT_DOUBLE_EQ(preview->GetCellSize() * n, 240.0) << n;
            for (int along : {10, 120, 230}) {
                EXPECT_TRUE(IsGold(Harness().ScreenPixel(x, y + 4 + along))) << n << " left " << along;
                EXPECT_TRUE(IsGold(Harness().ScreenPixel(x + 241, y + 4 + along))) << n << " right " << along;
                EXPECT_TRUE(IsGold(Harness().ScreenPixel(x + 1 + along, y + 3))) << n << " top " << along;
                EXPECT_TRUE(IsGold(Harness().ScreenPixel(x + 1 + along, y + 244))) << n << " bottom " << along;
            }
        }
        CloseAllMenus();
    }
}

} // namespace
