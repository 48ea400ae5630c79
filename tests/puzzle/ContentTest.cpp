#include "base/Common.h"
#include "puzzle/GameData.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleNameTable.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "resources/Localization.h"
#include "tools/puzzlecheck/LineSolver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// The game's own content, read the way the loading thread reads it.
class ContentTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        folder = fs::temp_directory_path() / ("content-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        ProfileEnvironment environment;
        environment.dataFolder = folder.string() + "/";
        ProfileManager::SetEnvironment(environment);
        LoadGameTables(std::string(TARNVALE_SOURCE_DIR) + "/data/properties/");
    }

    static void TearDownTestSuite()
    {
        ClearGameTables();
        ClearLocalization();
        ProfileManager::SetEnvironment({});
        fs::remove_all(folder);
    }

    template <typename Check> static void ForEachPuzzle(Check check)
    {
        for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode)
            for (int set = 0; set < gPuzzleTable.SetCount(mode); ++set)
                for (int puzzle = 0; puzzle < gPuzzleTable.PuzzleCount(mode, set); ++puzzle)
                    check(mode, set, puzzle, *gPuzzleTable.Find(mode, set, puzzle));
    }

    static std::string Name(const PuzzleRecord& record) { return WStringToString(record.name); }

    static inline fs::path folder;
};

} // namespace

TEST(LineSolver, TellsUniqueFromAmbiguousAndImpossibleClues)
{
    std::vector<int> line = {-1, -1, -1, -1, -1};
    ASSERT_TRUE(LineSolver::SolveLine({3}, line));
    EXPECT_EQ(line, (std::vector<int>{-1, -1, 1, -1, -1}));
    line = {-1, 0, -1, -1, -1};
    ASSERT_TRUE(LineSolver::SolveLine({1, 2}, line));
    EXPECT_EQ(line, (std::vector<int>{1, 0, -1, 1, -1}));
    line = {1, 1, -1};
    EXPECT_FALSE(LineSolver::SolveLine({1}, line));

    const std::vector<std::vector<int>> diagonal = {{1, 0}, {0, 1}};
    LineSolver ambiguous(LineSolver::ColumnClues(diagonal), LineSolver::RowClues(diagonal));
    EXPECT_FALSE(ambiguous.SolveByLines());
    EXPECT_EQ(ambiguous.Solve(), LineSolver::Result::Ambiguous);

    // Unique, but line solving alone stalls: the search has to try cells.
    const std::vector<std::string> rows = {"00011", "01001", "01100", "00001", "01100"};
    std::vector<std::vector<int>> unique(5, std::vector<int>(5));
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column)
            unique[column][row] = rows[row][column] - '0';
    LineSolver guessing(LineSolver::ColumnClues(unique), LineSolver::RowClues(unique));
    EXPECT_FALSE(guessing.SolveByLines());
    EXPECT_EQ(guessing.Solve(), LineSolver::Result::Unique);
    EXPECT_EQ(guessing.Cells(), unique);

    LineSolver impossible({{2}, {}}, {{}, {}});
    EXPECT_EQ(impossible.Solve(), LineSolver::Result::Contradiction);
}

TEST_F(ContentTest, EveryPuzzleIsPlayableAndHasExactlyOneSolution)
{
    int puzzles = 0;
    ForEachPuzzle([&](int, int, int, const PuzzleRecord& record) {
        ++puzzles;
        ASSERT_TRUE(record.playable) << Name(record) << ": " << WStringToString(record.problem);
        LineSolver solver(LineSolver::ColumnClues(record.tiles), LineSolver::RowClues(record.tiles));
        ASSERT_TRUE(solver.SolveByLines()) << Name(record) << " cannot be solved line by line";
        EXPECT_EQ(solver.Cells(), record.tiles) << Name(record);
    });
    EXPECT_GE(puzzles, 15);
}

TEST_F(ContentTest, PicturesShadeExactlyTheTilesWithTheFirstArtPiece)
{
    ForEachPuzzle([&](int, int, int, const PuzzleRecord& record) {
        for (int column = 0; column < record.GridSize(); ++column)
            for (int row = 0; row < record.GridSize(); ++row) {
                const int shade = record.picture[column][row];
                if (record.tiles[column][row] == 0)
                    EXPECT_EQ(shade, -1) << Name(record);
                else
                    EXPECT_TRUE(shade >= 0 && shade < 4) << Name(record);
            }
    });
}

TEST_F(ContentTest, EveryPlayedSetHasARecordProgressAndNames)
{
    PlayerState fresh;
    for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode) {
        const int played = gSetTable.SetCount(mode);
        ASSERT_GE(played, mode == 0 ? 3 : 2);
        ASSERT_EQ(gPuzzleTable.SetCount(mode), played + 1) << "one reserve set closes each mode";
        EXPECT_EQ(gPuzzleTable.PuzzleCount(mode, played), 0) << "the reserve set holds no puzzles";
        EXPECT_EQ(fresh.SetCount(mode), played) << "so every played set has progress";
        for (int set = 0; set < played; ++set) {
            const std::wstring& name = gSetTable.Find(mode, set)->name;
            EXPECT_FALSE(Localize(name).empty()) << WStringToString(name);
            EXPECT_FALSE(Localize(name + L"_short").empty()) << WStringToString(name);
            const SetNames* names = gPuzzleNameTable.Find(name);
            ASSERT_NE(names, nullptr) << WStringToString(name);
            EXPECT_EQ(static_cast<int>(names->puzzles.size()), gPuzzleTable.PuzzleCount(mode, set));
            EXPECT_GT(gPuzzleTable.PuzzleCount(mode, set), 0);
        }
    }
    EXPECT_LE(gPuzzleTable.PuzzleCount(0, 0), 5) << "the first set is a short introduction";
}

TEST_F(ContentTest, EveryBoardSizeHasItsRecordAndAllThreeSizesAreUsed)
{
    std::set<int> sizes;
    ForEachPuzzle([&](int, int, int, const PuzzleRecord& record) {
        sizes.insert(record.GridSize());
        EXPECT_NE(gGridSizeTable.Find(record.GridSize()), nullptr) << Name(record);
        EXPECT_FALSE(Localize(record.name).empty()) << Name(record);
    });
    EXPECT_EQ(sizes, (std::set<int>{5, 10, 15}));
}
