#include "game/MyGameApp.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/PuzzleNameTable.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "support/AppHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// What the loading thread filled: the sets and puzzles of each mode, whether
// board sizes are laid out, and how many puzzle names the Garden has.
struct TableCounts
{
    std::vector<int> puzzleSets;
    std::vector<int> sets;
    std::vector<int> puzzles;
    bool hasBoardSizes{false};
    size_t gardenNames{0};
    bool operator==(const TableCounts&) const = default;
};

TableCounts CountTables()
{
    TableCounts counts;
    for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode) {
        counts.puzzleSets.push_back(gPuzzleTable.SetCount(mode));
        counts.sets.push_back(gSetTable.SetCount(mode));
        for (int set = 0; set < gPuzzleTable.SetCount(mode); ++set)
            counts.puzzles.push_back(gPuzzleTable.PuzzleCount(mode, set));
    }
    counts.hasBoardSizes = gGridSizeTable.Find(5) != nullptr;
    if (const SetNames* garden = gPuzzleNameTable.Find(L"garden"))
        counts.gardenNames = garden->puzzles.size();
    return counts;
}

TableCounts RunAGame()
{
    AppHarnessOptions options = AppHarnessOptions::WithGameData();
    options.makeApp = [] { return std::make_unique<MyGameApp>(); };
    AppHarness harness(options);
    EXPECT_TRUE(harness.IsValid()) << harness.GetError();
    EXPECT_TRUE(harness.RunUntilLoaded());
    return CountTables();
}

} // namespace

TEST(GameLifetimeTest, ASecondGameInOneProcessReadsTheTablesOnceAsTheFirstDid)
{
    const TableCounts first = RunAGame();
    ASSERT_EQ(first.puzzleSets.size(), 2u);
    ASSERT_GT(first.puzzleSets[1], 0);
    ASSERT_TRUE(first.hasBoardSizes);
    ASSERT_GT(first.gardenNames, 0u);

    // The game that ended took its tables with it, the constants and texts too.
    EXPECT_EQ(CountTables(), TableCounts({{0, 0}, {0, 0}, {}, false, 0}));
    EXPECT_FALSE(HasConstant(L"shades"));
    EXPECT_FALSE(HasLocalizedText(L"options_title"));

    EXPECT_EQ(RunAGame(), first);
}
