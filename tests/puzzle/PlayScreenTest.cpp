#include "puzzle/GameData.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/HintIcon.h"
#include "puzzle/HintMeter.h"
#include "puzzle/MistakeMeter.h"
#include "puzzle/PlayArtGrid.h"
#include "puzzle/PlayPuzzleMenu.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileList.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleTable.h"
#include "resources/Constants.h"
#include "support/AppHarness.h"
#include "ui/AnimationStats.h"
#include "ui/AnimationTable.h"
#include "ui/WidgetManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// The play screen with its level-screen hooks counted.
class CountingPlayScreen : public PlayPuzzleMenu
{
public:
    using PlayPuzzleMenu::PlayPuzzleMenu;

    int completeShown{0};
    int failShown{0};
    int secondsShown{-1};
    int mistakesShown{-1};
    std::size_t piecesLeftAtFail{99};

protected:
    void ShowLevelComplete(int seconds, int mistakes, int hints) override
    {
        ++completeShown;
        secondsShown = seconds;
        mistakesShown = mistakes;
        PlayPuzzleMenu::ShowLevelComplete(seconds, mistakes, hints);
    }
    void ShowLevelFail(int seconds, int mistakes, int) override
    {
        ++failShown;
        secondsShown = seconds;
        mistakesShown = mistakes;
        // The thrown tiles are the screen's children still in flight.
        piecesLeftAtFail = 0;
        for (Widget* child : GetChildren()) {
            auto* piece = dynamic_cast<DynamicWidget*>(child);
            if (piece && !piece->IsRemoveRequested() && piece->IsMoving())
                ++piecesLeftAtFail;
        }
    }
};

class PlayScreenTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithPixels();
        options.workingFolder = AppHarnessOptions::WithGameData().workingFolder;
        return options;
    }

    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Harness().IsValid()) << Harness().GetError();
        ASSERT_TRUE(Harness().RunUntilLoaded());
        ProfileEnvironment environment;
        environment.dataFolder = Harness().DataFolder();
        ProfileManager::SetEnvironment(environment);
        LoadGameTables("properties/", {});
        ProfileManager::CreateProfile(L"Ann");
        ASSERT_NE(GetCurrentPlayerState(), nullptr);
        // The first-time notices would pause the screen beneath them.
        GetCurrentPlayerState()->seenHint = true;
        GetCurrentPlayerState()->madeMistake = true;
    }

    void TearDown() override
    {
        AppTest::TearDown();
        ClearGameTables();
        ProfileManager::SetEnvironment({});
    }

    CountingPlayScreen* Open(int mode, int set, int puzzle)
    {
        auto* screen = new CountingPlayScreen(App(), mode, set, puzzle);
        screen->Show();
        Harness().RunTicks(1);
        return screen;
    }

    // Runs ticks until play begins; false when the intro never ends.
    bool RunIntro(CountingPlayScreen* screen)
    {
        for (int tick = 0; tick < 1000; ++tick) {
            if (screen->GetState() == PlayPuzzleMenu::State::Playing && !screen->GetGrid()->IsDisabled())
                return true;
            Harness().RunTicks(1);
        }
        return false;
    }

    // A drag in screen pixels from one cell to another of the screen's grid.
    void Drag(PlayTileGrid* grid, int fromColumn, int fromRow, int toColumn, int toRow, int clicks = 1)
    {
        const int cell = grid->GetCellSize();
        auto at = [&](int column, int row) {
            return std::pair{static_cast<int>(grid->GetX()) + column * cell + cell / 2,
                             static_cast<int>(grid->GetY()) + row * cell + cell / 2};
        };
        const auto [x1, y1] = at(fromColumn, fromRow);
        const auto [x2, y2] = at(toColumn, toRow);
        Harness().MouseMove(x1, y1);
        Harness().MouseDown(x1, y1, clicks);
        Harness().MouseMove(x2, y2);
        Harness().MouseUp(x2, y2, clicks);
        Harness().RunTicks(1);
    }

    // Reveals every run of tiles, row by row, with one drag per run.
    void RevealEveryTile(PlayTileGrid* grid)
    {
        const auto& cells = grid->GetCells();
        const int n = grid->GridSize();
        for (int row = 0; row < n; ++row) {
            for (int column = 0; column < n; ++column) {
                if (cells[column][row] == 0 || grid->GetRules().IsDecided({column, row}))
                    continue;
                int end = column;
                while (end + 1 < n && cells[end + 1][row] != 0)
                    ++end;
                Drag(grid, column, row, end, row);
                column = end;
            }
        }
    }

    void Save(const std::string& name)
    {
        if (const char* folder = std::getenv("TARNVALE_SHOTS"))
            Harness().SaveScreen(std::string(folder) + "/" + name + ".png");
    }

    static int Brightness(std::uint32_t argb)
    {
        return ((argb >> 16) & 0xFF) + ((argb >> 8) & 0xFF) + (argb & 0xFF);
    }
};

} // namespace

TEST_F(PlayScreenTest, APuzzleIsPlayedFromItsIntroToItsRevealAndTheBestTimeIsSaved)
{
    CountingPlayScreen* screen = Open(0, 0, 0);
    ASSERT_TRUE(RunIntro(screen));
    EXPECT_EQ(screen->GetTools().size(), 1u) << "the first puzzle is played without the mark tool";
    Save("play_intro_done");

    RevealEveryTile(screen->GetGrid());
    Save("play_all_revealed");
    Harness().RunTicks(120);
    ASSERT_EQ(screen->GetState(), PlayPuzzleMenu::State::Solved);
    EXPECT_EQ(screen->completeShown, 1);
    EXPECT_EQ(screen->mistakesShown, 0);
    Save("play_reveal");
    Harness().RunTicks(500);
    EXPECT_EQ(screen->GetState(), PlayPuzzleMenu::State::Finished);
    EXPECT_EQ(screen->completeShown, 1) << "the solved state is reached once";
    Save("play_finished");

    PuzzleProgress progress = GetCurrentPlayerState()->GetPuzzle(0, 0, 0);
    EXPECT_TRUE(progress.completed);
    EXPECT_EQ(progress.bestTime, screen->secondsShown);
    ProfileList onDisk;
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(GetProfilesPath(), onDisk));
    ASSERT_FALSE(onDisk.records.empty());
    EXPECT_TRUE(onDisk.records[0].state.GetPuzzle(0, 0, 0).completed);
}

TEST_F(PlayScreenTest, TheBestTimeKeepsTheFastestWholeSecondsAndTheHiddenCodeOnlyWorksInPlay)
{
    auto solveAfter = [&](int ticks) {
        CountingPlayScreen* screen = Open(0, 1, 0);
        screen->KeyChar('o');
        for (wchar_t c : std::wstring(L"ostrelgm"))
            screen->KeyChar(c);
        EXPECT_NE(screen->GetState(), PlayPuzzleMenu::State::Solved) << "ignored before play";
        EXPECT_TRUE(RunIntro(screen));
        while (screen->GetTicks() < ticks)
            Harness().RunTicks(1);
        for (wchar_t c : std::wstring(L"ostrelgm"))
            screen->KeyChar(c);
        EXPECT_EQ(screen->GetState(), PlayPuzzleMenu::State::Solved);
        const int best = GetCurrentPlayerState()->GetPuzzle(0, 1, 0).bestTime;
        screen->RemoveSelf();
        Harness().RunTicks(2);
        return best;
    };
    EXPECT_EQ(solveAfter(1299), 12);
    EXPECT_EQ(solveAfter(1500), 12) << "a slower solve keeps the best time";
    EXPECT_EQ(solveAfter(1100), 11);

    ProfileList onDisk;
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(GetProfilesPath(), onDisk));
    EXPECT_EQ(onDisk.records[0].state.GetPuzzle(0, 1, 0).bestTime, 11) << "saved when the screen left";
    EXPECT_EQ(PlayPuzzleMenu::TimeText(6150), L"Time 1:01");
}

TEST_F(PlayScreenTest, TheNotepadNamesThePictureOnceItIsSolved)
{
    // The notepad's line for the picture's name, short of the timer below it.
    const int nameX = GetConstantInt(L"puzzle_text_x") - 4;
    const int nameY = GetConstantInt(L"puzzle_text_y") - 2;
    auto nameLine = [&] {
        Harness().MouseMove(10, 760);
        Harness().Redraw();
        return Harness().ScreenPixels(nameX, nameY, 190, 22);
    };
    auto solveByCode = [&](CountingPlayScreen* screen) {
        for (wchar_t c : std::wstring(L"ostrelgm"))
            screen->KeyChar(c);
        Harness().RunTicks(2);
    };

    CountingPlayScreen* first = Open(0, 1, 0);
    ASSERT_TRUE(RunIntro(first));
    const auto unknown = nameLine();
    solveByCode(first);
    ASSERT_EQ(first->GetState(), PlayPuzzleMenu::State::Solved);
    const auto afterSolve = nameLine();
    Save("notepad_after_solve");
    EXPECT_NE(afterSolve, unknown) << "the unknown picture has a name once solved";
    first->RemoveSelf();
    Harness().RunTicks(2);

    // Played again, the solved picture is named from the start: the same words.
    CountingPlayScreen* again = Open(0, 1, 0);
    ASSERT_TRUE(RunIntro(again));
    EXPECT_EQ(nameLine(), afterSolve);
    again->RemoveSelf();
    Harness().RunTicks(2);

    // A lost picture stays unknown.
    gGridSizeTable.Get(10).mistakes = 2;
    CountingPlayScreen* lost = Open(0, 1, 1);
    ASSERT_TRUE(RunIntro(lost));
    const auto lostBefore = nameLine();
    PlayTileGrid* grid = lost->GetGrid();
    const auto& cells = grid->GetCells();
    int mistakes = 0;
    for (int row = 0; row < 10 && mistakes < 2; ++row)
        for (int column = 0; column < 10 && mistakes < 2; ++column)
            if (cells[column][row] == 0 && !grid->GetRules().IsDecided({column, row})) {
                Drag(grid, column, row, column, row);
                ++mistakes;
            }
    for (int tick = 0; tick < 1500 && lost->GetState() == PlayPuzzleMenu::State::Playing; ++tick)
        Harness().RunTicks(1);
    ASSERT_EQ(lost->GetState(), PlayPuzzleMenu::State::Failed);
    EXPECT_EQ(nameLine(), lostBefore);
}

TEST_F(PlayScreenTest, TheLastAllowedMistakeExplodesTheBoardAndTheFailScreenOpensOnceAfterThePieces)
{
    gGridSizeTable.Get(10).mistakes = 3;
    CountingPlayScreen* screen = Open(0, 1, 1);
    ASSERT_TRUE(RunIntro(screen));
    PlayTileGrid* grid = screen->GetGrid();
    ASSERT_EQ(grid->GridSize(), 10);
    // Reveal some tiles, so that the explosion has pieces to throw.
    const auto& cells = grid->GetCells();
    int mistakes = 0;
    for (int row = 0; row < 10; ++row)
        for (int column = 0; column < 10; ++column)
            if (cells[column][row] != 0 && !grid->GetRules().IsDecided({column, row}) && row < 6)
                Drag(grid, column, row, column, row);
    Harness().RunTicks(60);
    for (int row = 0; row < 10 && mistakes < 3; ++row)
        for (int column = 0; column < 10 && mistakes < 3; ++column)
            if (cells[column][row] == 0 && !grid->GetRules().IsDecided({column, row})) {
                Drag(grid, column, row, column, row);
                ++mistakes;
            }
    Save("fail_last_mistake");
    int failTick = -1;
    for (int tick = 0; tick < 1500 && screen->GetState() != PlayPuzzleMenu::State::Finished; ++tick) {
        Harness().RunTicks(1);
        if (tick == 120)
            Save("fail_explosion");
        if (screen->failShown && failTick < 0)
            failTick = tick;
    }
    EXPECT_EQ(screen->GetState(), PlayPuzzleMenu::State::Finished);
    EXPECT_EQ(screen->failShown, 1);
    EXPECT_EQ(screen->completeShown, 0);
    EXPECT_EQ(screen->mistakesShown, 3);
    EXPECT_EQ(screen->piecesLeftAtFail, 0u) << "the fail screen waits for the last piece";
    EXPECT_GT(failTick, 30) << "the pieces fall first";
    Harness().RunTicks(200);
    EXPECT_EQ(screen->failShown, 1) << "once";
}

TEST_F(PlayScreenTest, ALargeBoardFitsBesideTheHudAndItsConfirmedRunsGreyTheirClues)
{
    CountingPlayScreen* screen = Open(0, 2, 2);
    ASSERT_TRUE(RunIntro(screen));
    PlayTileGrid* grid = screen->GetGrid();
    ASSERT_EQ(grid->GridSize(), 15);
    EXPECT_GE(grid->GetX() - grid->GetOffsetX(), 0);
    EXPECT_GE(grid->GetY() - grid->GetOffsetY(), 0);
    EXPECT_LE(grid->GetY() + grid->GetHeight(), 768);
    EXPECT_LE(grid->GetX() + grid->GetWidth(), GetConstantInt(L"hint_meter_x"))
        << "the board leaves the HUD free";

    // The first row with a clue: its last number stands just left of the board.
    int row = 0;
    while (grid->GetRowClues()[row].empty())
        ++row;
    const PlayTileGrid::NumberAnchors anchors = grid->ComputeNumberAnchors();
    const int numberX = static_cast<int>(grid->GetX()) + anchors.a - grid->GetNumberSpacingX();
    const int numberY = static_cast<int>(grid->GetY()) + row * grid->GetCellSize() + anchors.d;
    auto darkPixels = [&] {
        Harness().MouseMove(1010, 760);
        Harness().Redraw();
        int dark = 0;
        // The number's cell, short of the board's rim.
        for (std::uint32_t pixel : Harness().ScreenPixels(numberX, numberY, 20, 24))
            dark += Brightness(pixel) < 300 ? 1 : 0;
        return dark;
    };
    EXPECT_GT(darkPixels(), 10) << "an open clue is written in ink";
    const auto& cells = grid->GetCells();
    for (int column = 0; column < 15; ++column)
        Drag(grid, column, row, column, row, cells[column][row] != 0 ? 1 : -1);
    Harness().RunTicks(30);
    ASSERT_TRUE(grid->GetRowClues()[row].back().done);
    EXPECT_EQ(darkPixels(), 0) << "a confirmed run's clue is greyed";
    Save("large_board");

    // A drag shows its line with the running count, and the pointer's row and column.
    const int cell = grid->GetCellSize();
    const int left = static_cast<int>(grid->GetX()) + cell / 2;
    const int top = static_cast<int>(grid->GetY()) + 7 * cell + cell / 2;
    Harness().MouseMove(left + 3 * cell, top);
    Harness().MouseDown(left + 3 * cell, top, 1);
    Harness().MouseMove(left + 8 * cell, top);
    Harness().Redraw();
    Save("large_board_drag");
    EXPECT_EQ(grid->GetRules().lineEnd, (GridCell{8, 7}));
    Harness().MouseMove(left + 3 * cell, top);
    Harness().MouseUp(left + 3 * cell, top, 1);

    RevealEveryTile(grid);
    Harness().RunTicks(800);
    EXPECT_EQ(screen->GetState(), PlayPuzzleMenu::State::Finished);
    EXPECT_EQ(screen->completeShown, 1);
    Save("large_board_revealed");
}

TEST_F(PlayScreenTest, WithoutAnyScriptAPuzzleIsStillSolvedAndAnotherStillLost)
{
    // Every script missing: the set's, the intro, the cells, the trails, the explosion.
    AnimationTable::Install(std::make_unique<AnimationTable>());
    CountingPlayScreen* solved = Open(0, 0, 1);
    EXPECT_TRUE(RunIntro(solved));
    RevealEveryTile(solved->GetGrid());
    Harness().RunTicks(2);
    EXPECT_EQ(solved->GetState(), PlayPuzzleMenu::State::Solved);
    EXPECT_EQ(solved->completeShown, 1);
    solved->RemoveSelf();
    Harness().RunTicks(2);

    CountingPlayScreen* lost = Open(0, 1, 0);
    ASSERT_TRUE(RunIntro(lost));
    PlayTileGrid* grid = lost->GetGrid();
    // Holes revealed one by one until the screen lets the board go.
    const std::vector<std::vector<int>> cells = grid->GetCells();
    const int n = grid->GridSize();
    for (int row = 0; row < n; ++row)
        for (int column = 0; column < n && lost->GetGrid() == grid; ++column)
            if (cells[column][row] == 0 && !grid->GetRules().IsDecided({column, row}))
                Drag(grid, column, row, column, row);
    Harness().RunTicks(2);
    EXPECT_EQ(lost->GetState(), PlayPuzzleMenu::State::Finished);
    EXPECT_EQ(lost->failShown, 1);

    AnimationStats reload(false);
}
