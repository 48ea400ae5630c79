#include "puzzle/PlayTileGrid.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/PlayGridOwner.h"
#include "resources/Constants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kCell = Grid::kFallbackCellSize;

std::vector<std::vector<int>> Board(const std::vector<std::string>& rows)
{
    std::vector<std::vector<int>> cells(rows.size(), std::vector<int>(rows.size(), 0));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < rows[row].size(); ++column)
            cells[column][row] = rows[row][column] - '0';
    return cells;
}

// Records the effects the drawing layer would show.
class RecordingGrid : public PlayTileGrid
{
public:
    using PlayTileGrid::PlayTileGrid;

    std::vector<std::wstring> animations;
    std::vector<int> delays;
    std::vector<std::wstring> trails;
    int notices{0};
    int nextTrailId{100};

protected:
    void StartCellAnimation(int, int, const std::wstring& name, int delay) override
    {
        animations.push_back(name);
        delays.push_back(delay);
    }
    int AddTrail(const std::wstring& name, int, int, TrailTarget, int, int, int, int, bool) override
    {
        trails.push_back(name);
        return nextTrailId++;
    }
    void ShowFirstMistakeNotice() override { ++notices; }
};

class Owner : public PlayGridOwner
{
public:
    void GridInputEnded() override { ++ended; }
    void SelectNextTool() override { ++nextTool; }
    int ended{0};
    int nextTool{0};
};

class PlayTileGridTest : public testing::Test
{
protected:
    void SetUp() override
    {
        GridSizeRecord record;
        record.offsetX = 100;
        record.offsetY = 120;
        record.mistakes = 2;
        gGridSizeTable.Set(5, record);
        SetConstant(L"max_trails_count", Value(8));
    }
    void TearDown() override
    {
        gGridSizeTable.Clear();
        ClearConstants();
    }

    std::unique_ptr<RecordingGrid> MakeGrid(const std::vector<std::string>& rows)
    {
        auto grid = std::make_unique<RecordingGrid>(Board(rows), [](int) { return 0; });
        grid->SetOwner(&owner);
        grid->SetDisabled(false);
        return grid;
    }

    // A drag in the grid's own pixels, from the middle of one cell to another point.
    static void Drag(PlayTileGrid& grid, int fromColumn, int fromRow, int toX, int toY, int clicks = 1)
    {
        grid.MouseDown(fromColumn * kCell + kCell / 2, fromRow * kCell + kCell / 2, clicks);
        grid.MouseDrag(toX, toY);
        grid.MouseUp(toX, toY);
    }

    Owner owner;
};

const std::vector<std::string> kBoard = {"11011", "11011", "00000", "11111", "10001"};

} // namespace

TEST_F(PlayTileGridTest, StandsBesideItsClueRoomWithTheSameMarginOnBothAxes)
{
    EXPECT_EQ(Grid::Margin(768, 400, 120), 124);
    EXPECT_EQ(Grid::Margin(100, 150, 5), -27) << "the division truncates toward zero";

    auto grid = MakeGrid(kBoard);
    EXPECT_EQ(grid->GetCellSize(), kCell) << "no highlight image: the fallback size";
    EXPECT_EQ(grid->GetWidth(), 5 * kCell);
    const int margin = Grid::Margin(768, 5 * kCell, 120);
    EXPECT_EQ(grid->GetX(), 100 + margin);
    EXPECT_EQ(grid->GetY(), 120 + margin);
}

TEST_F(PlayTileGridTest, StartsDisabledUntilItsOwnerEnablesIt)
{
    RecordingGrid grid(Board(kBoard), [](int) { return 0; });
    EXPECT_TRUE(grid.IsDisabled());
    Drag(grid, 0, 0, 10, 10);
    EXPECT_TRUE(grid.animations.empty());
}

TEST_F(PlayTileGridTest, ADragBeyondTheEdgeRevealsTheClampedLineInOrder)
{
    auto grid = MakeGrid(kBoard);
    Drag(*grid, 0, 3, 40 * kCell, 3 * kCell + 5);
    EXPECT_EQ(grid->animations, (std::vector<std::wstring>(5, L"tile_solid")));
    EXPECT_EQ(grid->delays, (std::vector<int>{0, 11, 22, 33, 44}));
    EXPECT_TRUE(grid->GetRowClues()[3][0].done) << "the grid's clues follow the rules";
    EXPECT_TRUE(grid->GetColumnClues()[2][0].done);
    EXPECT_TRUE(grid->trails.empty()) << "no meter, no trail";
}

TEST_F(PlayTileGridTest, TheOwnerHearsOnceWhenTheLastMistakeIsMade)
{
    auto grid = MakeGrid(kBoard);
    Drag(*grid, 2, 0, 2 * kCell + 1, 4 * kCell + 1);
    EXPECT_EQ(grid->animations, (std::vector<std::wstring>{L"tile_invalid_hole", L"tile_invalid_hole"}));
    EXPECT_EQ(owner.ended, 1);
    EXPECT_TRUE(grid->IsDisabled());
    EXPECT_TRUE(grid->IsFailed());
    EXPECT_TRUE(grid->IsFailurePlayedOut());
    EXPECT_FALSE(grid->IsSolved());
}

TEST_F(PlayTileGridTest, TheRightButtonFollowsTheToggleAndLockOptions)
{
    auto grid = MakeGrid(kBoard);
    bool toggle = true;
    grid->SetToggleOption(&toggle);
    Drag(*grid, 0, 0, 10, 10, -1);
    EXPECT_EQ(owner.nextTool, 1);
    EXPECT_TRUE(grid->animations.empty());

    toggle = false;
    grid->SetMarkingLocked(true);
    Drag(*grid, 0, 0, 10, 10, -1);
    EXPECT_TRUE(grid->animations.empty());

    grid->SetMarkingLocked(false);
    Drag(*grid, 2, 2, 2 * kCell + 1, 2 * kCell + 1, -1);
    EXPECT_EQ(grid->animations, (std::vector<std::wstring>{L"tile_hole"}));
}

TEST_F(PlayTileGridTest, HintsRevealTheirCellsWhenTheirTrailsArrive)
{
    auto grid = MakeGrid({"10000", "00000", "00000", "00000", "00001"});
    grid->RevealHintTiles(0, 0, 5);
    ASSERT_EQ(grid->trails.size(), 2u);
    EXPECT_EQ(grid->GetTrailsInFlight(), 2);
    EXPECT_TRUE(grid->animations.empty());
    EXPECT_EQ(grid->GetCells()[4][4], 3) << "the board shows the hints on their way";

    grid->AnimationComplete(100);
    grid->AnimationComplete(999);
    EXPECT_EQ(grid->animations, (std::vector<std::wstring>{L"tile_solid"}));
    EXPECT_EQ(owner.ended, 0);
    grid->AnimationComplete(101);
    EXPECT_EQ(grid->GetTrailsInFlight(), 0);
    EXPECT_EQ(owner.ended, 1);
    EXPECT_TRUE(grid->IsSolved());
}
