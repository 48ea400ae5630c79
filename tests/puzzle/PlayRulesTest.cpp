#include "puzzle/PlayRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Rows as the puzzle text writes them, turned into [column][row] cells.
std::vector<std::vector<int>> Board(const std::vector<std::string>& rows)
{
    std::vector<std::vector<int>> cells(rows.size(), std::vector<int>(rows.size(), 0));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < rows[row].size(); ++column)
            cells[column][row] = rows[row][column] - '0';
    return cells;
}

std::vector<int> Lengths(const ClueList& clues)
{
    std::vector<int> lengths;
    for (const ClueEntry& entry : clues)
        lengths.push_back(entry.length);
    return lengths;
}

template <typename Lines> std::vector<std::vector<int>> Lengths(const Lines& lines)
{
    std::vector<std::vector<int>> lengths;
    for (const ClueList& clues : lines)
        lengths.push_back(Lengths(clues));
    return lengths;
}

std::vector<bool> Done(const ClueList& clues)
{
    std::vector<bool> done;
    for (const ClueEntry& entry : clues)
        done.push_back(entry.done);
    return done;
}

int FixedRandom(int)
{
    return 0;
}

// Drags a line with the left button and releases it.
std::vector<CellOutcome> Drag(PlayRules& rules, GridCell from, GridCell to, int clicks = 1)
{
    rules.Press(from, clicks, true, false, false);
    rules.DragTo(to);
    return rules.ApplyLine();
}

const std::vector<std::string> kSample = {
    "11011", "11011", "00000", "11111", "10001",
};

} // namespace

TEST(Clues, ColumnsRunTopToBottomAndRowsLeftToRight)
{
    PlayRules rules(Board(kSample), 3, FixedRandom);
    using Lines = std::vector<std::vector<int>>;
    // A line without tiles has no entry.
    EXPECT_EQ(Lengths(rules.ColumnClues()), (Lines{{2, 2}, {2, 1}, {1}, {2, 1}, {2, 2}}));
    EXPECT_EQ(Lengths(rules.RowClues()), (Lines{{2, 2}, {2, 2}, {}, {5}, {1, 1}}));
    EXPECT_EQ(rules.tilesLeft, 15);
}

TEST(Clues, RaggedCellsAreReadAsASquareBoard)
{
    std::vector<std::vector<int>> cells = {{1, 1, 1}, {1}, {0, 0, 1, 1}};
    PlayRules rules(cells, 3, FixedRandom);
    EXPECT_EQ(rules.GridSize(), 3);
    EXPECT_EQ(Lengths(rules.ColumnClues()), (std::vector<std::vector<int>>{{3}, {1}, {1}}));
    EXPECT_EQ(rules.tilesLeft, 5);
}

TEST(LineRule, TiesAreVerticalAndThePointerIsClamped)
{
    EXPECT_EQ(PlayRules::ChooseLineEnd({2, 2}, {5, 5}, 10), (GridCell{2, 5}));
    EXPECT_EQ(PlayRules::ChooseLineEnd({2, 2}, {6, 3}, 10), (GridCell{6, 2}));
    EXPECT_EQ(PlayRules::ChooseLineEnd({2, 2}, {2, 40}, 10), (GridCell{2, 9}));
    EXPECT_EQ(PlayRules::ChooseLineEnd({2, 2}, {-7, 1}, 10), (GridCell{0, 2}));
    EXPECT_EQ(PlayRules::ChooseLineEnd({2, 2}, {2, 2}, 10), (GridCell{2, 2}));
}

TEST(Moves, EachOutcomeCountsTilesAndMistakes)
{
    PlayRules rules(Board(kSample), 5, FixedRandom);
    int delay = 0;
    CellOutcome outcome;
    // Marking a tile is a mistake, but the tile still counts toward completion.
    const struct
    {
        int mode;
        GridCell cell;
        CellOutcome::Kind kind;
        int tilesLeft;
        int mistakes;
    } steps[] = {{PlayRules::kReveal, {0, 0}, CellOutcome::Kind::Solid, 14, 0},
                 {PlayRules::kReveal, {2, 0}, CellOutcome::Kind::InvalidHole, 14, 1},
                 {PlayRules::kMark, {2, 1}, CellOutcome::Kind::Hole, 14, 1},
                 {PlayRules::kMark, {1, 0}, CellOutcome::Kind::InvalidSolid, 13, 2}};
    for (const auto& step : steps) {
        rules.dragMode = step.mode;
        ASSERT_TRUE(rules.ApplyCell(step.cell, delay, outcome));
        EXPECT_EQ(outcome.kind, step.kind) << outcome.KindName();
        EXPECT_EQ(rules.tilesLeft, step.tilesLeft);
        EXPECT_EQ(rules.mistakesMade, step.mistakes);
        if (outcome.IsMistake()) {
            EXPECT_EQ(outcome.mistakeIndex, step.mistakes - 1);
        }
    }
    EXPECT_EQ(delay, 44);

    EXPECT_FALSE(rules.ApplyCell({1, 0}, delay, outcome)) << "a decided cell takes no move";
    EXPECT_EQ(delay, 44);
}

TEST(Moves, DelaysStepOnlyForCellsThatChange)
{
    PlayRules rules(Board(kSample), 5, FixedRandom);
    Drag(rules, {1, 3}, {1, 3});
    std::vector<CellOutcome> outcomes = Drag(rules, {0, 3}, {4, 3});
    ASSERT_EQ(outcomes.size(), 4u);
    std::vector<int> delays;
    std::vector<int> columns;
    for (const CellOutcome& outcome : outcomes) {
        delays.push_back(outcome.delay);
        columns.push_back(outcome.cell.column);
    }
    EXPECT_EQ(delays, (std::vector<int>{0, 11, 22, 33}));
    EXPECT_EQ(columns, (std::vector<int>{0, 2, 3, 4}));
}

TEST(Moves, ALineRunsFromThePressTowardTheRelease)
{
    PlayRules rules(Board(kSample), 5, FixedRandom);
    std::vector<CellOutcome> outcomes = Drag(rules, {0, 3}, {0, 0});
    ASSERT_EQ(outcomes.size(), 4u);
    EXPECT_EQ(outcomes.front().cell, (GridCell{0, 3}));
    EXPECT_EQ(outcomes.back().cell, (GridCell{0, 0}));
    EXPECT_EQ(outcomes[1].kind, CellOutcome::Kind::InvalidHole);
}

TEST(Mistakes, TheLastAllowedMistakeDropsTheRestOfTheLineAndEndsInputOnce)
{
    PlayRules rules(Board(kSample), 2, FixedRandom);
    bool madeMistake = false;
    rules.SetMadeMistakeFlag(&madeMistake);

    std::vector<CellOutcome> first = Drag(rules, {2, 0}, {2, 0});
    ASSERT_EQ(first.size(), 1u);
    EXPECT_TRUE(first[0].firstMistake);
    EXPECT_TRUE(madeMistake);

    // Row 2 is all holes: the second hole is the last allowed mistake.
    std::vector<CellOutcome> line = Drag(rules, {0, 2}, {4, 2});
    ASSERT_EQ(line.size(), 1u);
    EXPECT_TRUE(line[0].endedInput);
    EXPECT_FALSE(line[0].firstMistake);
    EXPECT_EQ(rules.mistakesMade, 2);
    EXPECT_TRUE(rules.IsFailed());
    EXPECT_TRUE(rules.IsInputEnded());

    EXPECT_FALSE(rules.Press({0, 0}, 1, true, false, false));
    EXPECT_EQ(rules.dragMode, PlayRules::kNoDrag) << "no press starts a drag once the mistakes are used";
    EXPECT_EQ(rules.lineStart, (GridCell{0, 0})) << "the line of the last move does not stay";
    EXPECT_EQ(rules.lineEnd, (GridCell{0, 0}));
}

TEST(Mistakes, TheLastTileEndsInputAsAFailureOnlyWhenItUsesTheLastMistake)
{
    PlayRules rules(Board({"10", "00"}), 1, FixedRandom);
    std::vector<CellOutcome> outcomes = Drag(rules, {0, 0}, {0, 0}, -1);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].kind, CellOutcome::Kind::InvalidSolid);
    EXPECT_TRUE(outcomes[0].endedInput);
    EXPECT_EQ(rules.tilesLeft, 0);
    EXPECT_TRUE(rules.IsFailed());
    EXPECT_FALSE(rules.IsSolved());

    PlayRules spare(Board({"10", "10"}), 1, FixedRandom);
    outcomes = Drag(spare, {0, 0}, {0, 1});
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_FALSE(outcomes[0].endedInput);
    EXPECT_TRUE(outcomes[1].endedInput);
    EXPECT_TRUE(spare.IsSolved()) << "with mistakes left the last tile is a solve";
}

TEST(Greying, ARunIsDoneOnceItAndItsEndOfTheLineAreDecidedAndMiddleRunsWait)
{
    const std::vector<int> values = {1, 1, 0, 1, 1};
    ClueList clues = {{2, false}, {2, false}};

    RegreyLine(values, {1, 1, 1, 0, 0}, clues);
    EXPECT_EQ(Done(clues), (std::vector<bool>{true, false}));

    RegreyLine(values, {0, 0, 1, 1, 1}, clues);
    EXPECT_EQ(Done(clues), (std::vector<bool>{false, true}));

    RegreyLine(values, {1, 1, 0, 1, 1}, clues);
    EXPECT_EQ(Done(clues), (std::vector<bool>{true, true})) << "every tile decided";

    RegreyLine(values, {1, 1, 0, 0, 0}, clues);
    EXPECT_EQ(Done(clues), (std::vector<bool>{false, false})) << "a run without its closing hole";

    // A middle run stays lit until the whole line is decided.
    const std::vector<int> three = {1, 0, 1, 1, 0, 1};
    ClueList middle = {{1, false}, {2, false}, {1, false}};
    RegreyLine(three, {1, 1, 1, 0, 1, 1}, middle);
    EXPECT_EQ(Done(middle), (std::vector<bool>{true, false, true}));
    RegreyLine(three, {1, 1, 1, 1, 0, 0}, middle);
    EXPECT_EQ(Done(middle), (std::vector<bool>{true, false, false})) << "the closing hole is not decided";
}

TEST(Greying, MovesRegreyTheirColumnAndRow)
{
    PlayRules rules(Board(kSample), 5, FixedRandom);
    Drag(rules, {0, 0}, {1, 0});
    EXPECT_EQ(Done(rules.RowClues()[0]), (std::vector<bool>{false, false}));
    Drag(rules, {2, 0}, {2, 0}, -1);
    EXPECT_EQ(Done(rules.RowClues()[0]), (std::vector<bool>{true, false}));

    Drag(rules, {2, 3}, {2, 3});
    EXPECT_EQ(Done(rules.ColumnClues()[2]), (std::vector<bool>{true}));
    EXPECT_EQ(Done(rules.RowClues()[3]), (std::vector<bool>{false}));
}

TEST(Hints, OnlyUndecidedPlainTilesAndNoMoreThanAreLeft)
{
    PlayRules rules(Board({"110", "000", "001"}), 3, [](int bound) { return bound - 1; });
    Drag(rules, {0, 0}, {0, 0});
    std::vector<GridCell> first = rules.ChooseHintCells(1);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(rules.CellValue(first[0]), 3) << "a hint on its way marks the cell";

    std::vector<GridCell> rest = rules.ChooseHintCells(5);
    ASSERT_EQ(rest.size(), 1u) << "fewer than asked when few are left";
    EXPECT_NE(rest[0], first[0]);
    EXPECT_TRUE(rules.ChooseHintCells(2).empty());

    CellOutcome outcome;
    ASSERT_TRUE(rules.RevealHintCell(first[0], outcome));
    EXPECT_EQ(outcome.kind, CellOutcome::Kind::Solid);
    EXPECT_EQ(rules.tilesLeft, 1);
    EXPECT_EQ(rules.dragMode, PlayRules::kNoDrag) << "the drag mode is restored";
    EXPECT_FALSE(rules.RevealHintCell(first[0], outcome)) << "an arrived hint is not applied twice";
}

TEST(Input, TheRightButtonMarksSwitchesToolsOrDoesNothing)
{
    PlayRules rules(Board(kSample), 3, FixedRandom);
    EXPECT_FALSE(rules.Press({0, 0}, -1, true, false, false));
    EXPECT_EQ(rules.dragMode, PlayRules::kMark);
    rules.EndDrag();

    EXPECT_TRUE(rules.Press({0, 0}, -1, true, false, true)) << "toggle mode asks for the next tool";
    EXPECT_EQ(rules.dragMode, PlayRules::kNoDrag);
    EXPECT_TRUE(rules.ApplyLine().empty()) << "and changes no cell";

    rules.markingLocked = true;
    EXPECT_FALSE(rules.Press({0, 0}, -1, true, false, false));
    EXPECT_EQ(rules.dragMode, PlayRules::kNoDrag);

    rules.tool = PlayRules::kMarkTool;
    rules.Press({0, 0}, 1, true, false, false);
    EXPECT_EQ(rules.dragMode, PlayRules::kMark) << "the left button uses the current tool";
}

// A refused press starts no drag, but like any press it puts the line on the
// pressed cell.
TEST(Input, PressesOutsideWhileDisabledDuringADragOrRefusedByTheFilterDecideNothing)
{
    PlayRules rules(Board(kSample), 3, FixedRandom);
    auto expectLineOn = [&rules](GridCell cell) {
        EXPECT_EQ(rules.lineStart, cell);
        EXPECT_EQ(rules.lineEnd, cell);
    };
    rules.Press({5, 1}, 1, false, false, false);
    EXPECT_EQ(rules.dragMode, PlayRules::kNoDrag);
    expectLineOn({5, 1});
    rules.Press({1, 2}, 1, true, true, false);
    EXPECT_EQ(rules.dragMode, PlayRules::kNoDrag);
    expectLineOn({1, 2});
    rules.Press({0, 0}, 1, true, false, false);
    rules.DragTo({0, 3});
    rules.Press({2, 2}, -1, true, false, false);
    EXPECT_EQ(rules.dragMode, PlayRules::kNoDrag) << "a second button cancels the running drag";
    expectLineOn({2, 2});
    EXPECT_TRUE(rules.ApplyLine().empty());

    rules.SetMoveFilter(
        [](GridCell cell, int modeBit) { return cell.column == 0 && modeBit == PlayRules::kReveal; });
    std::vector<CellOutcome> outcomes = Drag(rules, {0, 0}, {4, 0});
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].cell, (GridCell{0, 0}));
}
