#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/BoardDriving.h"

#include "app/NoticeMenu.h"
#include "game/LevelCompleteMenu.h"
#include "game/LevelFailMenu.h"
#include "game/MyBoard.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/PuzzleSelectMenu.h"
#include "game/SelectSetMenu.h"
#include "game/SetLoadingMenu.h"
#include "puzzle/MistakeMeter.h"
#include "puzzle/PlayArtGrid.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/TutorialGrid.h"
#include "resources/Localization.h"
#include "ui/Animator.h"
#include "ui/ButtonWidget.h"
#include "ui/DynamicWidget.h"

#include <cstdlib>
#include <functional>
#include <vector>

namespace {

class LevelStatusTest : public GameTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = GameTest::Options();
        // Screens are only written for a person to look at (TARNVALE_SHOTS,
        // with ASAN_OPTIONS=detect_leaks=0 for Mesa's GL driver).
        options.readPixels = std::getenv("TARNVALE_SHOTS") != nullptr;
        return options;
    }
    bool RunUntil(const std::function<bool()>& condition) { return Harness().RunUntil(condition); }
    void ClickCentre(Widget* widget)
    {
        Harness().ClickCentre(widget);
        Harness().RunTicks(1);
    }
    // Shows the dialog and waits for its "ok" button.
    template <typename T> T* ShowAndWait(T* menu)
    {
        menu->Show();
        EXPECT_TRUE(RunUntil([menu] { return menu->GetOkButton() != nullptr; }));
        return menu;
    }
    void Capture(const std::string& name)
    {
        if (const char* folder = std::getenv("TARNVALE_SHOTS")) {
            Harness().Redraw();
            Harness().SaveScreen(std::string(folder) + "/" + name + ".png");
        }
    }
    void Solve(PlayTileGrid* grid)
    {
        // A tutorial's lesson is skipped once it asks for its first cells:
        // its script ends and the board is free.
        if (auto* tutorial = dynamic_cast<TutorialGrid*>(grid)) {
            EXPECT_TRUE(RunUntil([tutorial] { return tutorial->GetRequestsLeft() > 0; }));
            for (Widget* child : grid->GetChildren())
                if (auto* script = dynamic_cast<Animator*>(child))
                    script->Finish();
            EXPECT_TRUE(tutorial->IsFreePlay());
        }
        // One click per tile.
        const int n = grid->GridSize();
        for (int row = 0; row < n; ++row)
            for (int column = 0; column < n; ++column)
                if (grid->GetCells()[column][row] != 0 && !grid->GetRules().IsDecided({column, row}))
                    DragCells(Harness(), *grid, {column, row}, {column, row});
    }
};

// A played tutorial puzzle: the picture moves to the dialog, the solve opens
// the next puzzle, which "ok" starts directly.
TEST_F(LevelStatusTest, SolvingATutorialPuzzleUnlocksTheNextAndOkStartsIt)
{
    PlayerState& player = NewPlayer();
    ASSERT_TRUE(MyPlayPuzzleMenu::Open(Game(), 0, 0, 1, false));
    auto* play = FindMenu<MyPlayPuzzleMenu>();
    ASSERT_NE(play, nullptr);
    ASSERT_TRUE(RunUntil([play] { return play->GetGrid() != nullptr && !play->GetGrid()->IsDisabled(); }));
    Solve(play->GetGrid());
    ASSERT_TRUE(RunUntil([this] { return FindMenu<LevelCompleteMenu>() != nullptr; }));
    auto* complete = FindMenu<LevelCompleteMenu>();
    EXPECT_EQ(play->GetArtGrid(), nullptr);
    ASSERT_NE(complete->GetArtGrid(), nullptr);
    EXPECT_EQ(complete->GetArtGrid()->GetParent(), complete->GetArtHolder());
    EXPECT_TRUE(player.EnsurePuzzle(0, 0, 1)->completed);
    EXPECT_EQ(player.EnsureSet(0, 0)->unlock, 3);
    EXPECT_EQ(complete->GetNextPuzzle(), 2);

    ASSERT_TRUE(RunUntil([complete] { return complete->GetOkButton() != nullptr; }));
    Capture("level_complete");
    ClickCentre(complete->GetOkButton());
    Harness().RunTicks(60);
    EXPECT_EQ(FindMenu<LevelCompleteMenu>(), nullptr);
    auto* next = FindMenu<MyPlayPuzzleMenu>();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetPuzzle(), 2);
}

TEST_F(LevelStatusTest, TheLastTutorialPuzzleOpensTheNextSetAndOkLoadsIt)
{
    PlayerState& player = NewPlayer();
    const int last = gPuzzleTable.PuzzleCount(0, 0) - 1;
    auto* complete = ShowAndWait(new LevelCompleteMenu(Game(), 0, 0, last, 75, 0, 0, nullptr, true));
    EXPECT_EQ(complete->GetNextSet(), 1);
    EXPECT_EQ(player.EnsureSet(0, 1)->unlock, 1);
    ClickCentre(complete->GetOkButton());
    auto* loading = FindMenu<SetLoadingMenu>();
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->GetPuzzle(), -1);
    EXPECT_EQ(player.currentMode, 0);
    EXPECT_EQ(player.currentCountry, 1);
    EXPECT_EQ(FindMenu<LevelCompleteMenu>(), nullptr);
}

// The summary's button names what it does: "Next Puzzle" exactly when it
// starts the next puzzle, the same word for it after every primer puzzle.
TEST_F(LevelStatusTest, TheSummaryButtonSaysNextPuzzleExactlyWhenItStartsOne)
{
    NewPlayer();
    const int primer = gPuzzleTable.PuzzleCount(0, 0);
    ASSERT_GT(primer, 2) << "the primer has puzzles on either side of its journal pages";
    struct Case
    {
        int mode, set, puzzle;
        bool startsNext;
    };
    std::vector<Case> cases;
    for (int puzzle = 0; puzzle < primer; ++puzzle)
        cases.push_back({0, 0, puzzle, puzzle + 1 < primer});
    cases.push_back({0, 1, 0, false});
    cases.push_back({1, 0, 0, false});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", set " << c.set << ", puzzle " << c.puzzle);
        auto* complete =
            ShowAndWait(new LevelCompleteMenu(Game(), c.mode, c.set, c.puzzle, 75, 0, 0, nullptr, true));
        auto* ok = dynamic_cast<ButtonWidget*>(complete->GetOkButton());
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->GetLabel(), Localize(c.startsNext ? L"button_next" : L"button_continue"));
        ClickCentre(ok);
        auto* next = FindMenu<MyPlayPuzzleMenu>();
        EXPECT_EQ(next != nullptr, c.startsNext);
        if (next != nullptr) {
            EXPECT_EQ(next->GetPuzzle(), c.puzzle + 1);
        }
        CloseAllMenus();
        Harness().RunTicks(2);
    }
}

// Later sets: a re-solve with hints clears "without hints" and unlocks
// nothing; the first solve of a set's last puzzle opens the next set and, at
// the right set, the bonus puzzle with its notice.
TEST_F(LevelStatusTest, LaterSetsRecordTheFlagsAndTheLastPuzzleUnlocks)
{
    PlayerState& player = NewPlayer();
    PuzzleProgress* progress = player.EnsurePuzzle(0, 1, 0);
    progress->completed = true;
    progress->withoutHints = true;
    const int unlockBefore = player.EnsureSet(0, 2)->unlock;
    auto* resolve = ShowAndWait(new LevelCompleteMenu(Game(), 0, 1, 0, 30, 0, 2, nullptr, false));
    EXPECT_FALSE(progress->withoutHints);
    EXPECT_TRUE(progress->withoutMistakes);
    ClickCentre(resolve->GetOkButton());
    EXPECT_NE(FindMenu<SetLoadingMenu>(), nullptr);
    EXPECT_EQ(player.EnsureSet(0, 2)->unlock, unlockBefore);
    CloseAllMenus();

    const int last = gPuzzleTable.PuzzleCount(0, 1) - 1;
    const int bonusBefore = player.EnsureSet(1, 0)->unlock;
    auto* first = ShowAndWait(new LevelCompleteMenu(Game(), 0, 1, last, 30, 1, 0, nullptr, true));
    // The script's "summary_shown" came before its button.
    EXPECT_EQ(player.EnsureSet(1, 0)->unlock, bonusBefore + 1);
    NoticeMenu* notice = FindMenu<NoticeMenu>();
    ASSERT_NE(notice, nullptr);
    notice->RemoveSelf();
    ASSERT_TRUE(RunUntil([this] { return FindMenu<NoticeMenu>() == nullptr; }));
    ClickCentre(first->GetOkButton());
    EXPECT_TRUE(player.EnsurePuzzle(0, 1, last)->completed);
    EXPECT_EQ(player.EnsureSet(0, 2)->unlock, unlockBefore + 1);
    EXPECT_NE(FindMenu<PuzzleSelectMenu>(), nullptr);

    // The last main set's last puzzle ends the story.
    CloseAllMenus();
    const int lastSet = MyBoard::GetSetCount(0) - 1;
    auto* final = ShowAndWait(new LevelCompleteMenu(
        Game(), 0, lastSet, gPuzzleTable.PuzzleCount(0, lastSet) - 1, 30, 0, 0, nullptr, true));
    ClickCentre(final->GetOkButton());
    EXPECT_EQ(Shown().back(), L"story_final");
}

TEST_F(LevelStatusTest, FailRetriesWithFreshChancesOrQuitsToTheChoice)
{
    NewPlayer();
    auto* fail = ShowAndWait(new LevelFailMenu(Game(), 0, 1, 2, 40, 3, 0));
    Capture("level_fail");
    ClickCentre(fail->GetOkButton());
    EXPECT_EQ(FindMenu<LevelFailMenu>(), nullptr);
    auto* retry = FindMenu<MyPlayPuzzleMenu>();
    ASSERT_NE(retry, nullptr);
    EXPECT_EQ(retry->GetPuzzle(), 2);
    ASSERT_TRUE(RunUntil([retry] { return retry->GetMistakeMeter() != nullptr; }));
    EXPECT_EQ(retry->GetMistakeMeter()->GetChancesLost(), 0);
    CloseAllMenus();

    auto* quit = ShowAndWait(new LevelFailMenu(Game(), 0, 1, 2, 40, 3, 0));
    ASSERT_NE(quit->GetQuitButton(), nullptr);
    ClickCentre(quit->GetQuitButton());
    EXPECT_NE(FindMenu<PuzzleSelectMenu>(), nullptr);
    CloseAllMenus();

    auto* bonus = ShowAndWait(new LevelFailMenu(Game(), 1, 0, 0, 40, 3, 0));
    ClickCentre(bonus->GetQuitButton());
    EXPECT_NE(FindMenu<SelectSetMenu>(), nullptr);
}

TEST_F(LevelStatusTest, AButtonWithoutARoleLeavesEveryScreenOpen)
{
    NewPlayer();
    ASSERT_TRUE(Harness().LoadScripts(R"(
      <animation name="level_fail">
        <add-status-button id="'other'" text="button_ok" x="512" y="300"/>
        <add-status-button id="'ok'" text="button_retry" x="512" y="500"/>
      </animation>)"));
    auto* fail = ShowAndWait(new LevelFailMenu(Game(), 0, 1, 0, 40, 3, 0));
    Widget* other = nullptr;
    for (Widget* child : fail->GetChildren())
        if (child != fail->GetOkButton() && child->GetY() < 400)
            other = child;
    ASSERT_NE(other, nullptr);
    ClickCentre(other);
    EXPECT_EQ(FindMenu<LevelFailMenu>(), fail);
    EXPECT_EQ(FindMenu<MyPlayPuzzleMenu>(), nullptr);
    // The dialog closes once, though both its button and the close of all
    // menus ask.
    ClickCentre(fail->GetOkButton());
    Harness().RunTicks(2);
    EXPECT_EQ(FindMenu<LevelFailMenu>(), nullptr);
    EXPECT_NE(FindMenu<MyPlayPuzzleMenu>(), nullptr);
}

} // namespace
