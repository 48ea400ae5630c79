#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/BoardDriving.h"

#include "base/LogWriter.h"
#include "game/ConstantRanges.h"
#include "game/LevelCompleteMenu.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/PuzzleSelectMenu.h"
#include "puzzle/HintMeter.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PuzzleTable.h"
#include "resources/Constants.h"
#include "ui/ButtonWidget.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

// The log's lines since the marker was written.
class LogSince
{
public:
    explicit LogSince(const std::string& marker) : m_marker("-- " + marker)
    {
        LogWriter::WriteLine(m_marker);
    }
    std::string Text() const
    {
        std::string text;
        for (const std::string& line : LogWriter::GetShortLog()) {
            if (line.ends_with(m_marker))
                text.clear();
            else
                text += line + "\n";
        }
        return text;
    }

private:
    std::string m_marker;
};

// Every constant that the program's code reads by a literal name, the names it reads per grid size
// ("..._G%d") as "..._G*".
std::set<std::string> NamesReadInTheSources()
{
    const std::regex literal(R"re(GetConstant(?:Int|Float|Bool)?\(\s*L"([a-z0-9_]+)"\))re");
    const std::regex perSize(R"re(GetConstant(?:Int|Float|Bool)?\(\s*StrFormatW\(L"([a-z0-9_]+G)%d")re");
    std::set<std::string> names;
    for (const char* folder :
         {"base", "platform", "resources", "graphics", "audio", "ui", "app", "puzzle", "game"}) {
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(std::string(TARNVALE_SOURCE_DIR) + "/" + folder)) {
            if (entry.path().extension() != ".cpp")
                continue;
            std::ifstream file(entry.path());
            std::stringstream text;
            text << file.rdbuf();
            const std::string source = text.str();
            for (const auto& [pattern, suffix] : {std::pair{&literal, ""}, std::pair{&perSize, "*"}})
                for (std::sregex_iterator it(source.begin(), source.end(), *pattern), end; it != end; ++it)
                    names.insert((*it)[1].str() + suffix);
        }
    }
    return names;
}

// Every constant the code reads has a range ("logging" is a flag), and the shipped constants.xml lies
// within them: loading it names nothing.
TEST(ConstantRangeTableTest, EveryConstantReadHasARangeAndTheShippedValuesLieWithin)
{
    const std::set<std::string> names = NamesReadInTheSources();
    EXPECT_GT(names.size(), 30u) << "the sources were not found";
    for (const std::string& name : names) {
        if (name == "logging")
            continue;
        EXPECT_NE(FindConstantRange(GameConstantRanges(), StringToWString(name)), nullptr)
            << name << " has no range";
    }

    const LogSince log("shipped constants");
    Constants shipped(GameConstantRanges());
    ASSERT_TRUE(shipped.ParseFile(std::string(TARNVALE_SOURCE_DIR) + "/data/properties/constants.xml"));
    EXPECT_EQ(log.Text(), "");
    ClearConstants();
}

class ConstantRangesTest : public GameTest
{
};

// A modder's constants.xml with the game's own ranges: each number past its range is read as the bound and
// named, and the screens that used them go on: the puzzle choice lays its icons out, the play screen makes
// its hint meter, a solve reveals the picture and the level-complete screen follows.
TEST_F(ConstantRangesTest, AModdersHugeNumbersAreReadWithinRangeAndThePuzzleScreensWork)
{
    const LogSince log("modded constants");
    Constants modded(GameConstantRanges());
    ASSERT_TRUE(modded.ParseFile(std::string(TARNVALE_TEST_DATA_DIR) + "/content/constants_unbounded.xml"));
    const std::string text = log.Text();
    for (const char* expected :
         {"constants.xml: puzzle_icon_spacing_x=2147483647 read as 136 (its range is 96 to 136)",
          "constants.xml: puzzle_icon_spacing_y=2147483647 read as 136",
          "constants.xml: art_reveal_delay=2147483647 read as 1000 (its range is 0 to 1000)",
          "constants.xml: max_hints=200000000 read as 10 (its range is 0 to 10)",
          "constants.xml: explosion_grid_dampening=5 read as 0.99 (its range is 0 to 0.99)",
          "constants.xml: grid_number_col_offset_x_G10=-2147483648 read as -6"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " is not in:\n" << text;

    PlayerState& player = NewPlayer();
    player.currentCountry = 1;
    player.EnsureSet(0, 1)->unlock = gPuzzleTable.PuzzleCount(0, 1);
    auto* choice = new PuzzleSelectMenu(Game(), 0, 1, -1, false);
    choice->Show();
    Harness().RunTicks(1);
    ASSERT_EQ(static_cast<int>(choice->GetIcons().size()), gPuzzleTable.PuzzleCount(0, 1));
    EXPECT_EQ(choice->GetIcons()[1].button->GetX() - choice->GetIcons()[0].button->GetX(), 136.0f);
    CloseAllMenus();

    ASSERT_TRUE(MyPlayPuzzleMenu::Open(Game(), 0, 1, 0, false));
    auto* play = FindMenu<MyPlayPuzzleMenu>();
    ASSERT_NE(play, nullptr);
    ASSERT_TRUE(
        Harness().RunUntil([play] { return play->GetGrid() != nullptr && !play->GetGrid()->IsDisabled(); }));
    ASSERT_NE(play->GetHintMeter(), nullptr);
    EXPECT_EQ(play->GetHintMeter()->GetIcons().size(), 10u);

    PlayTileGrid* grid = play->GetGrid();
    const int n = grid->GridSize();
    for (int row = 0; row < n; ++row)
        for (int column = 0; column < n; ++column)
            if (grid->GetCells()[column][row] != 0 && !grid->GetRules().IsDecided({column, row}))
                DragCells(Harness(), *grid, {column, row}, {column, row});
    EXPECT_TRUE(Harness().RunUntil([this] { return FindMenu<LevelCompleteMenu>() != nullptr; }));
}

} // namespace
