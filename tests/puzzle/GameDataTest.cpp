#include "puzzle/GameData.h"
#include "base/Common.h"
#include "platform/FatalError.h"
#include "puzzle/GameStats.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/MyLocalization.h"
#include "puzzle/PuzzleNameTable.h"
#include "puzzle/PuzzleStats.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetStats.h"
#include "puzzle/SetTable.h"
#include "resources/Localization.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using Cells = std::vector<std::vector<int>>;

class DataFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("gamedata-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }

    void TearDown() override
    {
        gPuzzleTable.Clear();
        gSetTable.Clear();
        gGridSizeTable.Clear();
        gPuzzleNameTable.Clear();
        ClearLocalization();
        fs::remove_all(folder);
    }

    std::string Write(const std::string& name, const std::string& text)
    {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    std::string Puzzles(const std::string& body)
    {
        return Write("puzzles.xml", "<game><mode><set>" + body + "</set></mode></game>");
    }

    const PuzzleRecord& Puzzle(int index) { return *gPuzzleTable.Find(0, 0, index); }

    fs::path folder;
};

} // namespace

TEST_F(DataFileTest, EachWordOfThePuzzleTextIsOneRow)
{
    PuzzleStats(Puzzles("text before any puzzle<puzzle name=\"a\"><grid>1100 0110</grid>"
                        "<art>0xAB BAAA</art></puzzle>"));
    ASSERT_EQ(gPuzzleTable.PuzzleCount(0, 0), 1);
    EXPECT_EQ(Puzzle(0).tiles, (Cells{{1, 0}, {1, 1}, {0, 1}, {0, 0}}));
    EXPECT_EQ(Puzzle(0).picture, (Cells{{-1, 26}, {1, 0}}));
    EXPECT_FALSE(Puzzle(0).playable) << "a 4-wide grid with a 2-wide picture is not a board";
}

TEST_F(DataFileTest, BoardsMaySpanIndentedLinesAndTakeTheirAttributes)
{
    PuzzleStats(Puzzles("<puzzle name=\"cross\" steps=\"4\" tested=\"true\">\n"
                        "  <grid>\n\t\t010\n\t\t111\r\n\t\t010\n  </grid>\n"
                        "  <picture>\n    00AD00\n    ADACAD\n    00AD00\n  </picture>\n</puzzle>\n"
                        "<puzzle name=\"plain\"><grid>1</grid><picture>AA</picture></puzzle>"));
    const PuzzleRecord& cross = Puzzle(0);
    EXPECT_TRUE(cross.playable) << WStringToString(cross.problem);
    EXPECT_EQ(cross.tiles, (Cells{{0, 1, 0}, {1, 1, 1}, {0, 1, 0}}));
    EXPECT_EQ(cross.picture[1], (std::vector<int>{3, 2, 3}));
    EXPECT_EQ(cross.steps, 4);
    EXPECT_TRUE(cross.tested);
    EXPECT_EQ(cross.difficulty, 0) << "an absent difficulty reads 0";
    EXPECT_TRUE(Puzzle(1).playable);
    EXPECT_FALSE(Puzzle(1).tested);
}

TEST_F(DataFileTest, AHostilePuzzleFileLosesOnlyItsBadPuzzles)
{
    Write("puzzles.xml",
          "<game>"
          "<puzzle name=\"outside\"><grid>1</grid><picture>AA</picture></puzzle>"
          "<mode><set>"
          "<puzzle name=\"ragged\"><grid>11 1 11</grid><picture>AAAA AAAA AAAA</picture></puzzle>"
          "<puzzle name=\"tall\"><grid>11 11 11</grid><picture>AAAA AAAA AAAA</picture></puzzle>"
          "<puzzle name=\"stray\"><grid>1x 11</grid><picture>AAAA AAAA</picture></puzzle>"
          "<puzzle name=\"odd\"><grid>11 11</grid><picture>AAA AAAA</picture></puzzle>"
          "<puzzle name=\"shade\"><grid>11 11</grid><picture>AA-A AAAA</picture></puzzle>"
          "<puzzle name=\"blank\"><grid>00 00</grid><picture>0000 0000</picture></puzzle>"
          "<puzzle name=\"nothing\"/>"
          "<puzzle name=\"good\"><grid>10 01</grid><picture>AD00 00AD</picture></puzzle>"
          "</set><puzzle name=\"after\"><grid>1</grid><picture>AA</picture></puzzle></mode>"
          "<mode><set><puzzle name=\"extra\"><grid>1</grid><picture>AA</picture></puzzle></set></mode>"
          "<mode><set><puzzle name=\"third\"><grid>1</grid><picture>AA</picture></puzzle></set></mode>"
          "</game>");
    PuzzleStats(folder.string() + "/puzzles.xml");
    ASSERT_EQ(gPuzzleTable.SetCount(0), 1);
    ASSERT_EQ(gPuzzleTable.PuzzleCount(0, 0), 8) << "bad puzzles keep their places";
    for (int i = 0; i < 7; ++i)
        EXPECT_FALSE(Puzzle(i).playable) << WStringToString(Puzzle(i).name);
    EXPECT_TRUE(Puzzle(7).playable);
    EXPECT_EQ(Puzzle(7).name, L"good");
    ASSERT_EQ(gPuzzleTable.SetCount(1), 1);
    EXPECT_EQ(gPuzzleTable.Find(1, 0, 0)->name, L"extra");
    EXPECT_EQ(gPuzzleTable.SetCount(2), 0) << "a third mode has no table";
}

TEST_F(DataFileTest, PicturesBeyondTheArtTilesAreRefusedOnceTheTilesAreKnown)
{
    std::vector<std::string> fatal;
    const FatalErrorHandler previous =
        SetFatalErrorHandler([&fatal](const std::string& message) { fatal.push_back(message); });
    PuzzleStats(Puzzles("<puzzle name=\"fits\"><grid>1</grid><picture>AD</picture></puzzle>"
                        "<puzzle name=\"past\"><grid>1</grid><picture>EY</picture></puzzle>"));
    EXPECT_TRUE(Puzzle(1).playable);
    EXPECT_EQ(RejectPicturesBeyond(2, 4), 1);
    SetFatalErrorHandler(previous);
    EXPECT_TRUE(Puzzle(0).playable);
    EXPECT_FALSE(Puzzle(1).playable) << "128 is beyond 2 pieces in as many shades as the constant may give";
    ASSERT_EQ(fatal.size(), 1u) << "the game does not start on a picture it cannot draw";
    EXPECT_NE(fatal[0].find("puzzles.xml"), std::string::npos) << fatal[0];
    EXPECT_NE(fatal[0].find("\"past\" (mode 0, set 0, puzzle 1)"), std::string::npos) << fatal[0];
    EXPECT_EQ(fatal[0].find("fits"), std::string::npos) << fatal[0];
}

// Pictures drawn for more shades than the constant "shades" gives: the message blames the constant and says
// the value that shows them all, not the file of pictures, which is fine as it stands.
TEST_F(DataFileTest, PicturesThatNeedMoreShadesThanTheConstantGivesAreBlamedOnTheConstant)
{
    std::vector<std::string> fatal;
    const FatalErrorHandler previous =
        SetFatalErrorHandler([&fatal](const std::string& message) { fatal.push_back(message); });
    PuzzleStats(Puzzles("<puzzle name=\"light\"><grid>1</grid><picture>AB</picture></puzzle>"
                        "<puzzle name=\"dark\"><grid>1</grid><picture>AZ</picture></puzzle>"
                        "<puzzle name=\"darker\"><grid>11 11</grid><picture>AAAA AABF</picture></puzzle>"));
    // Two pieces: the values 25 and 31 need 13 and 16 shades; with 12, both are past the 24 art tiles.
    EXPECT_EQ(RejectPicturesBeyond(2, 12), 2);
    SetFatalErrorHandler(previous);
    EXPECT_TRUE(Puzzle(0).playable);
    EXPECT_FALSE(Puzzle(1).playable);
    EXPECT_FALSE(Puzzle(2).playable);
    ASSERT_EQ(fatal.size(), 1u);
    EXPECT_EQ(fatal[0],
              "The constant \"shades\" is 12 in properties/constants.xml, but the pictures need at "
              "least 16 shades of each of the 2 pieces of the art tiles; with 12, 2 puzzles cannot be "
              "shown:\n"
              "- the puzzle \"dark\" (mode 0, set 0, puzzle 1): a picture cell beyond the 24 art tiles\n"
              "- the puzzle \"darker\" (mode 0, set 0, puzzle 2): a picture cell beyond the 24 art tiles\n"
              "Set \"shades\" to 16 or more, or reinstall the game.");
}

// A board the game cannot show (no layout in game.xml for its size, or a shape that is no board) ends the
// start with one message naming the file and each puzzle; boards of the sizes game.xml lays out pass,
// however many there are.
TEST_F(DataFileTest, BoardsWithoutALayoutEndTheStartNamingTheFileAndPuzzle)
{
    auto board = [](int n) {
        std::string rows;
        for (int row = 0; row < n; ++row)
            rows += std::string(static_cast<std::size_t>(n), '1') + " ";
        std::string art;
        for (int row = 0; row < n; ++row)
            art += std::string(2 * static_cast<std::size_t>(n), 'A') + " ";
        return "<grid>" + rows + "</grid><picture>" + art + "</picture>";
    };
    Write("game.xml", "<game><grid size=\"5\" hints=\"1\" hint-reward=\"1\" mistakes=\"1\"/>"
                      "<grid size=\"10\" hints=\"1\" hint-reward=\"1\" mistakes=\"1\"/></game>");
    Write("sets.xml", "<sets/>");
    Write("localization.xml", "<localization/>");
    std::string body;
    for (int i = 0; i < 30; ++i)
        body += "<puzzle name=\"ok" + std::to_string(i) + "\">" + board(i % 2 ? 5 : 10) + "</puzzle>";
    Write("puzzles.xml", "<game><mode><set>" + body + "</set></mode></game>");

    std::vector<std::string> fatal;
    const FatalErrorHandler previous =
        SetFatalErrorHandler([&fatal](const std::string& message) { fatal.push_back(message); });
    LoadGameTables(folder.string() + "/");
    EXPECT_TRUE(fatal.empty()) << fatal.front();
    ClearGameTables();

    Write("puzzles.xml", "<game><mode><set>" + body + "<puzzle name=\"seven\">" + board(7) +
                             "</puzzle><puzzle name=\"twenty\">" + board(20) +
                             "</puzzle></set></mode></game>");
    LoadGameTables(folder.string() + "/");
    SetFatalErrorHandler(previous);
    ASSERT_EQ(fatal.size(), 1u);
    EXPECT_NE(fatal[0].find(folder.string() + "/puzzles.xml holds 2 puzzles"), std::string::npos) << fatal[0];
    EXPECT_NE(
        fatal[0].find("\"seven\" (mode 0, set 0, puzzle 30): a 7 x 7 board; game.xml lays out boards of "
                      "5, 10 only"),
        std::string::npos)
        << fatal[0];
    EXPECT_NE(fatal[0].find("\"twenty\" (mode 0, set 0, puzzle 31)"), std::string::npos) << fatal[0];
    ClearGameTables();
}

TEST_F(DataFileTest, PositionsSizesAndCountsAreBoundedWhereTheScreensUseThem)
{
    SetStats(Write("sets.xml",
                   "<sets><mode><set name=\"far\" x=\"2147483647\" y=\"-2147483648\" "
                   "unlock=\"2147483647\"/><set name=\"near\" x=\"900\" y=\"700\"/></mode></sets>"));
    const SetRecord& far = *gSetTable.Find(0, 0);
    EXPECT_EQ(far.x, 4096);
    EXPECT_EQ(far.y, -4096);
    EXPECT_EQ(far.unlock, 10000);
    EXPECT_EQ(gSetTable.Find(0, 1)->x, 900) << "positions on the map stay as they are";

    GameStats(Write("game.xml", "<game><grid size=\"5\" offset-x=\"2147483647\" offset-y=\"-3\" "
                                "hints=\"2147483647\" hint-reward=\"7\" mistakes=\"99999\"/>"
                                "<grid size=\"2147483647\" hints=\"1\"/><grid size=\"-5\"/></game>"));
    const GridSizeRecord& five = gGridSizeTable.Get(5);
    EXPECT_EQ(five.offsetX, 1024);
    EXPECT_EQ(five.offsetY, 0);
    EXPECT_EQ(five.hints, 1000);
    EXPECT_EQ(five.hintReward, 7);
    EXPECT_EQ(five.mistakes, 1000);
    EXPECT_EQ(gGridSizeTable.Find(2147483647), nullptr) << "no board is that large";
    EXPECT_EQ(gGridSizeTable.Find(-5), nullptr);

    PuzzleStats(Puzzles("<puzzle steps=\"2147483647\" difficulty=\"-9\"><grid>1</grid><picture>AA</picture>"
                        "</puzzle>"));
    EXPECT_EQ(Puzzle(0).steps, 1000000);
    EXPECT_EQ(Puzzle(0).difficulty, 0);
}

TEST_F(DataFileTest, SetRecordsReadTheirMapDataAndFlags)
{
    SetStats(Write("sets.xml",
                   "<sets><mode><set name=\"a\" wing=\"w\" x=\"10\" y=\"0x10\" unlock=\"3\"/>"
                   "<set name=\"b\" separate=\"1\"/><set name=\"c\" separate=\"true\"/><set name=\"d\" "
                   "separate=\"yes\"/>"
                   "</mode><mode><set name=\"e\"/></mode><mode><set name=\"ignored\"/></mode></sets>"));
    ASSERT_EQ(gSetTable.SetCount(0), 4);
    const SetRecord& a = *gSetTable.Find(0, 0);
    EXPECT_EQ(a.wing, L"w");
    EXPECT_EQ(a.x, 10);
    EXPECT_EQ(a.y, 16);
    EXPECT_EQ(a.unlock, 3);
    std::vector<bool> separate;
    for (int set = 0; set < 4; ++set)
        separate.push_back(gSetTable.Find(0, set)->separate);
    EXPECT_EQ(separate, (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(gSetTable.SetCount(1), 1);
    EXPECT_EQ(gSetTable.Find(1, 1), nullptr);
}

TEST_F(DataFileTest, GridSizesKeepTheLastRecordAndUsableAllowances)
{
    GameStats(Write(
        "game.xml",
        "<game><grid size=\"5\" offset-x=\"1\" offset-y=\"2\" hints=\"3\" hint-reward=\"4\" mistakes=\"5\"/>"
        "<grid size=\"5\" offset-x=\"10\" offset-y=\"20\" hints=\"30\" hint-reward=\"40\" mistakes=\"50\"/>"
        "<grid size=\"10\" offset-x=\"7\"/><other size=\"15\"/></game>"));
    const GridSizeRecord& five = gGridSizeTable.Get(5);
    EXPECT_EQ(five.offsetX, 10);
    EXPECT_EQ(five.offsetY, 20);
    EXPECT_EQ(five.hints, 30);
    EXPECT_EQ(five.hintReward, 40);
    EXPECT_EQ(five.mistakes, 50);

    const GridSizeRecord& ten = gGridSizeTable.Get(10);
    EXPECT_EQ(ten.offsetX, 7);
    EXPECT_EQ(ten.hints, 1) << "a zero divisor is raised to 1";
    EXPECT_EQ(ten.mistakes, 1) << "zero mistakes allowed would block all input";

    EXPECT_EQ(gGridSizeTable.Find(15), nullptr);
    EXPECT_EQ(gGridSizeTable.Get(15).hintReward, 1);
    EXPECT_NE(gGridSizeTable.Find(15), nullptr);
}

TEST_F(DataFileTest, PuzzleDisplayNamesGoByPositionAndAppendOnReload)
{
    const std::string path =
        Write("localization.xml", "<localization><title>Tarn[br]vale</title>"
                                  "<set name=\"s1\">\n  <puzzle>One</puzzle>\n  <puzzle>\n    Two\n  "
                                  "</puzzle>\n  <puzzle>Th[br]ree</puzzle>\n</set>"
                                  "<id tag=\"after\" value=\"still read\"/></localization>");
    MyLocalization{path};
    const SetNames* names = gPuzzleNameTable.Find(L"s1");
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->puzzles, (std::vector<std::wstring>{L"One", L"Two", L"Th\nree"}));
    EXPECT_EQ(gPuzzleNameTable.PuzzleName(L"s1", 1), L"Two");
    EXPECT_EQ(gPuzzleNameTable.PuzzleName(L"s1", 3), L"");
    EXPECT_EQ(Localize(L"title"), L"Tarn\nvale");
    EXPECT_EQ(Localize(L"after"), L"still read");

    MyLocalization{path};
    EXPECT_EQ(gPuzzleNameTable.Find(L"s1")->puzzles.size(), 6u);
}
