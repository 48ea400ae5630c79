#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/BoardDriving.h"

#include "audio/MusicInterface.h"
#include "game/LevelCompleteMenu.h"
#include "game/LevelFailMenu.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/OptionsMenu.h"
#include "game/PuzzleSelectMenu.h"
#include "game/ScreenTransition.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "ui/ButtonWidget.h"
#include "ui/TextLabel.h"

#include <cstdint>
#include <functional>

namespace {

constexpr int kHarbour = 2;

// The play clock on every way into play, with the pointer resting on the
// board. The loop runs as in the game: a pass with nothing that asked for
// ticks waits for input while the time passes (the ticks are counted, not
// run), and every change is drawn in the pass that made it, as when a draw
// takes its time, so only what asks for ticks keeps the updates coming.
class PlayClockTest : public GameTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = GameTest::Options();
        options.makeApp = [] { return std::make_unique<GameTestApp>(true); };
        return options;
    }
    void SetUp() override
    {
        GameTest::SetUp();
        PlayerState& state = NewPlayer();
        state.EnsureSet(0, 0)->introduced = true;
        state.EnsureSet(0, kHarbour)->introduced = true;
        state.currentCountry = kHarbour;
        // The set's music already plays, as after a puzzle before this one:
        // a fading song would keep the loop awake and hide a stopped clock.
        App().CrossFadeMusic(gSetTable.Find(0, kHarbour)->music[0]);
        ASSERT_TRUE(Harness().RunUntil([this] { return !App().GetMusicInterface()->IsFading(); }));
    }

    // The game's loop for that long, or until the condition holds.
    void RunStill(std::uint64_t ms, const std::function<bool()>& until = {})
    {
        Harness().Window().SetQuietTime(500);
        const std::uint64_t start = Harness().Clock().NowMs();
        while (Harness().Clock().NowMs() - start < ms && !(until && until())) {
            Harness().RunPass();
            App().DrawFrame();
        }
        Harness().Window().SetQuietTime(0);
    }

    // The play screen whose puzzle is not over yet, its board built, and the
    // pointer moved onto the board.
    MyPlayPuzzleMenu* PointAtTheNewBoard()
    {
        MyPlayPuzzleMenu* play = nullptr;
        RunStill(60000, [&] {
            play = nullptr;
            for (DialogHooks* menu : App().GetOpenMenus()) {
                auto* screen = dynamic_cast<MyPlayPuzzleMenu*>(menu);
                if (screen != nullptr && screen->GetState() < PlayPuzzleMenu::State::Solved)
                    play = screen;
            }
            return play != nullptr && play->GetGrid() != nullptr;
        });
        EXPECT_NE(play, nullptr) << "no new play screen";
        if (play == nullptr || play->GetGrid() == nullptr)
            return nullptr;
        const int middle = play->GetGrid()->GridSize() / 2;
        const auto [x, y] = CellCentre(*play->GetGrid(), {middle, middle});
        Harness().MouseMove(x, y);
        return play;
    }
    // The board takes moves, no transition covers it.
    bool Playable(MyPlayPuzzleMenu* play)
    {
        return play->GetGrid() != nullptr && !play->GetGrid()->IsDisabled() &&
               FindMenu<ScreenTransition>() == nullptr;
    }
    // From the moment the board takes moves, ten seconds with the pointer
    // still read ten seconds on the clock. The draws of those ten seconds.
    std::int64_t ExpectTheClockRunsFromTheStart(MyPlayPuzzleMenu* play)
    {
        EXPECT_NE(play, nullptr);
        if (play == nullptr)
            return 0;
        RunStill(60000, [&] { return Playable(play); });
        EXPECT_TRUE(Playable(play)) << "the board never took moves";
        const std::int64_t drawsBefore = App().GetCounters().draws;
        RunStill(10050);
        EXPECT_EQ(play->GetState(), PlayPuzzleMenu::State::Playing);
        EXPECT_EQ(play->GetTimerLabel()->GetText(), PlayPuzzleMenu::TimeText(1000));
        EXPECT_GE(play->GetTicks(), 1000);
        return App().GetCounters().draws - drawsBefore;
    }

    PuzzleSelectMenu* ShowTheHarbourChoice()
    {
        auto* choice = new PuzzleSelectMenu(Game(), 0, kHarbour, -1, false);
        choice->Show();
        EXPECT_TRUE(Harness().RunUntil(
            [&] { return FindMenu<ScreenTransition>() == nullptr && !choice->GetIcons().empty(); }));
        return choice;
    }
    MyPlayPuzzleMenu* ChooseFromTheHarbour(int puzzle)
    {
        PuzzleSelectMenu* choice = ShowTheHarbourChoice();
        if (static_cast<int>(choice->GetIcons().size()) <= puzzle)
            return nullptr;
        EXPECT_TRUE(Harness().ClickWhenReachable(choice->GetIcons()[static_cast<size_t>(puzzle)].button));
        return PointAtTheNewBoard();
    }
    // Plays the holes of the solution until the chances are used up.
    void FailByMistakes(MyPlayPuzzleMenu* play)
    {
        const PuzzleRecord* record = gPuzzleTable.Find(play->GetMode(), play->GetSet(), play->GetPuzzle());
        ASSERT_NE(record, nullptr);
        const int n = record->GridSize();
        for (int column = 0; column < n && !play->GetGrid()->IsDisabled(); ++column)
            for (int row = 0; row < n && !play->GetGrid()->IsDisabled(); ++row)
                if (record->tiles[column][row] == 0 && !play->GetGrid()->GetRules().IsDecided({column, row}))
                    DragCells(Harness(), *play->GetGrid(), {column, row}, {column, row});
    }
};

TEST_F(PlayClockTest, RunsFromTheStartOfAPuzzleChosenForTheFirstTime)
{
    GetCurrentPlayerState()->EnsureSet(0, kHarbour)->unlock = 2;
    const std::int64_t draws = ExpectTheClockRunsFromTheStart(ChooseFromTheHarbour(1));
    // A still board is drawn again only when the time text changes (and once
    // as play begins).
    EXPECT_LE(draws, 11);
}

TEST_F(PlayClockTest, RunsFromTheStartOfASolvedPuzzlePlayedAgain)
{
    PlayerState& state = *GetCurrentPlayerState();
    state.EnsureSet(0, kHarbour)->unlock = gPuzzleTable.PuzzleCount(0, kHarbour);
    for (int puzzle = 0; puzzle < gPuzzleTable.PuzzleCount(0, kHarbour); ++puzzle)
        state.EnsurePuzzle(0, kHarbour, puzzle)->completed = true;
    EXPECT_LE(ExpectTheClockRunsFromTheStart(ChooseFromTheHarbour(3)), 11);
}

// The primer's summary starts its next puzzle (a lesson, which moves on its
// own besides).
TEST_F(PlayClockTest, RunsFromTheStartOfTheNextPuzzle)
{
    ASSERT_TRUE(MyPlayPuzzleMenu::Open(Game(), 0, 0, 1, true));
    MyPlayPuzzleMenu* first = PointAtTheNewBoard();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(Harness().RunUntil([&] { return first->GetState() == PlayPuzzleMenu::State::Playing; }));
    first->FinishPuzzle();
    LevelCompleteMenu* complete = nullptr;
    ASSERT_TRUE(Harness().RunUntil([&] {
        complete = FindMenu<LevelCompleteMenu>();
        return complete != nullptr && complete->GetOkButton() != nullptr;
    }));
    ASSERT_TRUE(Harness().ClickWhenReachable(complete->GetOkButton()));
    MyPlayPuzzleMenu* next = PointAtTheNewBoard();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetPuzzle(), 2);
    ExpectTheClockRunsFromTheStart(next);
}

TEST_F(PlayClockTest, RunsFromTheStartOfAPuzzleTriedAgain)
{
    GetCurrentPlayerState()->EnsureSet(0, kHarbour)->unlock = 1;
    MyPlayPuzzleMenu* failed = ChooseFromTheHarbour(0);
    ASSERT_NE(failed, nullptr);
    ASSERT_TRUE(Harness().RunUntil([&] { return Playable(failed); }));
    ASSERT_NO_FATAL_FAILURE(FailByMistakes(failed));
    LevelFailMenu* fail = nullptr;
    ASSERT_TRUE(Harness().RunUntil([&] {
        fail = FindMenu<LevelFailMenu>();
        return fail != nullptr && fail->GetOkButton() != nullptr;
    }));
    ASSERT_TRUE(Harness().ClickWhenReachable(fail->GetOkButton()));
    MyPlayPuzzleMenu* again = PointAtTheNewBoard();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetPuzzle(), 0);
    ExpectTheClockRunsFromTheStart(again);
}

// The clock stands while the options are open and goes on when their close
// button (over the board) is clicked and the pointer rests there.
TEST_F(PlayClockTest, GoesOnWhenTheOptionsClose)
{
    GetCurrentPlayerState()->EnsureSet(0, kHarbour)->unlock = 1;
    MyPlayPuzzleMenu* play = ChooseFromTheHarbour(0);
    ASSERT_NE(play, nullptr);
    ASSERT_TRUE(Harness().RunUntil([&] { return play->GetState() == PlayPuzzleMenu::State::Playing; }));
    Harness().RunTicks(200);
    ASSERT_TRUE(Harness().ClickButton(play, L"options_title"));
    OptionsMenu* options = nullptr;
    ASSERT_TRUE(Harness().RunUntil([&] { return (options = FindMenu<OptionsMenu>()) != nullptr; }));
    const int ticksAtOpen = play->GetTicks();
    RunStill(5000);
    EXPECT_EQ(play->GetTicks(), ticksAtOpen);

    ButtonWidget* close = options->GetCloseButton();
    ASSERT_NE(close, nullptr);
    const Vector4 board = play->GetGrid()->GetScreenOrigin();
    const float x = close->GetScreenOrigin().x + static_cast<float>(close->GetWidth()) / 2;
    const float y = close->GetScreenOrigin().y + static_cast<float>(close->GetHeight()) / 2;
    ASSERT_TRUE(x > board.x && x < board.x + static_cast<float>(play->GetGrid()->GetWidth()) && y > board.y &&
                y < board.y + static_cast<float>(play->GetGrid()->GetHeight()))
        << "the close button stands over the board";
    ASSERT_TRUE(Harness().ClickWhenReachable(close));
    RunStill(60000, [&] { return FindMenu<OptionsMenu>() == nullptr; });
    ASSERT_EQ(FindMenu<OptionsMenu>(), nullptr);
    const int ticksAtClose = play->GetTicks();
    RunStill(10050);
    EXPECT_GE(play->GetTicks() - ticksAtClose, 1000);
    EXPECT_EQ(play->GetTimerLabel()->GetText(), PlayPuzzleMenu::TimeText(play->GetTicks()));
}

} // namespace
