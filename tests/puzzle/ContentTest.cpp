#include "base/Common.h"
#include "graphics/ImageData.h"
#include "graphics/ImageDecoders.h"
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
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One image, sound or music entry of assets.xml.
struct AssetEntry
{
    std::string file;
    int cols = 1;
};

// The entries of one kind in the game's assets.xml, by name.
std::map<std::string, AssetEntry> ReadAssetEntries(const std::string& kind)
{
    const std::string text = ReadText(fs::path(TARNVALE_SOURCE_DIR) / "data/properties/assets.xml");
    const std::regex element("<" + kind + R"(\s+([^>]*)/>)");
    const std::regex attribute(R"re((\w+)="([^"]*)")re");
    std::map<std::string, AssetEntry> entries;
    for (std::sregex_iterator it(text.begin(), text.end(), element), end; it != end; ++it) {
        const std::string attributes = (*it)[1];
        std::map<std::string, std::string> values;
        for (std::sregex_iterator at(attributes.begin(), attributes.end(), attribute); at != end; ++at)
            values[(*at)[1]] = (*at)[2];
        AssetEntry entry;
        entry.file = values["file"];
        entry.cols = values.count("cols") ? std::stoi(values["cols"]) : 1;
        entries[values["name"]] = entry;
    }
    return entries;
}

// Whether the build's data folder holds the entry's file under any extension.
bool IsBuilt(const AssetEntry& entry)
{
    const fs::path base = fs::path(TARNVALE_GAME_DATA_DIR) / entry.file;
    if (!fs::is_directory(base.parent_path()))
        return false;
    for (const fs::directory_entry& file : fs::directory_iterator(base.parent_path()))
        if (file.path().stem() == base.filename() && file.file_size() > 0)
            return true;
    return false;
}

std::optional<ImageData> ReadBuiltPng(const std::string& file)
{
    ImageData image;
    std::string error;
    if (!DecodePng(ReadText(fs::path(TARNVALE_GAME_DATA_DIR) / (file + ".png")), image, error))
        return std::nullopt;
    return image;
}

int GetConstantIntFromFile(const std::string& name)
{
    const std::string text = ReadText(fs::path(TARNVALE_SOURCE_DIR) / "data/properties/constants.xml");
    std::smatch match;
    const std::regex constant("name=\"" + name + "\"\\s+value=\"(-?\\d+)\"");
    return std::regex_search(text, match, constant) ? std::stoi(match[1]) : 0;
}

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
    EXPECT_GE(puzzles, 30);
}

// A grid met twice is one puzzle played twice under two names, whatever its
// colours: every board of the game, across sets and modes, is its own.
TEST_F(ContentTest, NoTwoPuzzlesShareAGrid)
{
    std::map<std::vector<std::vector<int>>, std::string> seen;
    ForEachPuzzle([&](int mode, int set, int puzzle, const PuzzleRecord& record) {
        const std::string where = Name(record) + " (" + std::to_string(mode) + "/" + std::to_string(set) + "/" +
                                  std::to_string(puzzle) + ")";
        const auto [first, added] = seen.emplace(record.tiles, where);
        EXPECT_TRUE(added) << where << " has the grid of " << first->second;
    });
    EXPECT_GE(seen.size(), 30u);
}

TEST_F(ContentTest, PicturesShadeExactlyTheTilesWithPiecesTheArtHas)
{
    // The art tiles image is a row of square pieces; every picture value
    // names one of them in one of the shades.
    const std::map<std::string, AssetEntry> images = ReadAssetEntries("image");
    ASSERT_TRUE(images.count("ArtTiles"));
    const int pieces = images.at("ArtTiles").cols;
    const std::optional<ImageData> tiles = ReadBuiltPng(images.at("ArtTiles").file);
    ASSERT_TRUE(tiles.has_value());
    EXPECT_EQ(tiles->width, pieces * tiles->height) << "one square cell per piece";
    const int shades = GetConstantIntFromFile("shades");
    ASSERT_GT(shades, 0);

    ForEachPuzzle([&](int mode, int set, int, const PuzzleRecord& record) {
        std::set<int> values;
        for (int column = 0; column < record.GridSize(); ++column)
            for (int row = 0; row < record.GridSize(); ++row) {
                const int value = record.picture[column][row];
                if (record.tiles[column][row] == 0) {
                    EXPECT_EQ(value, -1) << Name(record);
                } else {
                    EXPECT_TRUE(value >= 0 && value < pieces * shades) << Name(record) << ": " << value;
                    values.insert(value);
                }
            }
        // The primer's pictures stay as its lessons show them; the others are
        // drawn in more than one colour or shade.
        if (mode != 0 || set != 0) {
            EXPECT_GE(values.size(), 2u) << Name(record) << " is a flat silhouette";
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
            // The bonus list labels its sets with the short names: there a
            // set is called what its banner and the play screen call it.
            if (mode == 1) {
                EXPECT_EQ(Localize(name + L"_short"), Localize(name)) << WStringToString(name);
            }
            const SetNames* names = gPuzzleNameTable.Find(name);
            ASSERT_NE(names, nullptr) << WStringToString(name);
            EXPECT_EQ(static_cast<int>(names->puzzles.size()), gPuzzleTable.PuzzleCount(mode, set));
            EXPECT_GT(gPuzzleTable.PuzzleCount(mode, set), 0);
        }
    }
    EXPECT_LE(gPuzzleTable.PuzzleCount(0, 0), 5) << "the first set is a short introduction";
}

// The option that has right click switch tools has the Space key switch them
// too, which a player who does not know it can lose a puzzle to: the
// option's label, the tips and the pages that teach marking all say so.
TEST_F(ContentTest, TheTextsOnSwitchingToolsNameTheSpaceKey)
{
    for (const wchar_t* key : {L"toggle_mode", L"tips_text", L"intro_2_1_text", L"incorrect_tile_text"}) {
        ASSERT_TRUE(HasLocalizedText(key)) << WStringToString(key);
        EXPECT_NE(Localize(key).find(L"Space"), std::wstring::npos) << WStringToString(key);
    }
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

namespace {

enum class AssetKind
{
    Image,
    Sound,
    Music
};

const char* KindElement(AssetKind kind)
{
    return kind == AssetKind::Image ? "image" : kind == AssetKind::Sound ? "sound" : "music";
}

// The names an attribute value of a script can give: a plain name or a
// quoted one gives itself, the board-size expression one name per size; an
// expression this list does not know gives nothing (and the caller fails).
std::vector<std::string> ExpandScriptName(const std::string& value)
{
    static const std::regex plain(R"(\w+)");
    static const std::regex quoted(R"('(\w+)')");
    std::smatch match;
    if (std::regex_match(value, plain))
        return {value};
    if (std::regex_match(value, match, quoted))
        return {match[1]};
    if (value == "'G' + dim + 'Cells'") {
        std::vector<std::string> names;
        for (int size = 5; size <= 25; size += 5)
            names.push_back("G" + std::to_string(size) + "Cells");
        return names;
    }
    return {};
}

// Every asset name the game's scripts refer to, with the script file and
// the element that names it.
std::vector<std::tuple<AssetKind, std::string, std::string>> ScriptAssetReferences()
{
    static const std::regex element(R"(<([\w-]+)([^>]*)>)");
    static const std::regex attribute(R"re(([\w-]+)="([^"]*)")re");
    std::vector<std::tuple<AssetKind, std::string, std::string>> references;
    for (const fs::directory_entry& file :
         fs::directory_iterator(fs::path(TARNVALE_SOURCE_DIR) / "data/animations")) {
        const std::string text = ReadText(file.path());
        for (std::sregex_iterator it(text.begin(), text.end(), element), end; it != end; ++it) {
            const std::string command = (*it)[1];
            const std::string attributes = (*it)[2];
            const std::string where = file.path().filename().string() + ": <" + command + attributes + ">";
            for (std::sregex_iterator at(attributes.begin(), attributes.end(), attribute); at != end; ++at) {
                const std::string key = (*at)[1];
                std::optional<AssetKind> kind;
                if (key == "image" || (command == "add-button" && key == "type"))
                    kind = AssetKind::Image;
                else if ((command == "sound" && key == "name") || key == "sound" || key == "sound_down" ||
                         key == "sound_over" || key == "up_sound" || key == "down_sound")
                    kind = AssetKind::Sound;
                else if ((command == "play-music" || command == "stop-music") && key == "name")
                    kind = AssetKind::Music;
                if (!kind)
                    continue;
                const std::vector<std::string> names = ExpandScriptName((*at)[2]);
                if (names.empty())
                    references.emplace_back(*kind, "<unknown expression " + std::string((*at)[2]) + ">",
                                            where);
                for (const std::string& name : names)
                    references.emplace_back(*kind, name, where);
            }
        }
    }
    return references;
}

} // namespace

// Every sound, picture and song the scripts and the code ask for by name is
// listed in assets.xml and built into the data folder, so nothing plays
// silent or draws empty.
TEST_F(ContentTest, EveryAssetTheScriptsAndTheCodeNameIsListedAndBuilt)
{
    std::vector<std::tuple<AssetKind, std::string, std::string>> references = ScriptAssetReferences();
    EXPECT_GT(references.size(), 30u) << "the scripts were read";

    auto code = [&](AssetKind kind, const std::string& name) {
        references.emplace_back(kind, name, "the code");
    };
    // The images the code draws by name (besides the per-size and per-set ones below).
    std::istringstream images(
        "O S T R E S_Tilt R_Tilt Ball Trail OstrelTM CursorArrow CursorHand brushcursor "
        "shovelcursor button Dialog ArtTiles GridNumbers hintLarge chanceLarge chanceSmall "
        "notepad tile_tool_btn mark_tool_btn TitleBackground GameLogo Loadingbar_base "
        "Loadingbar_Top play_game_btn EnterName TutorialPanel enter_name_btn profile_btn "
        "profile_ok_btn bg_worldselect bg_puzzleselect menubutton ui_Preview "
        "ui_Puzzle_Current ui_Puzzle_Complete ui_Puzzle_Incomplete Slider Slider_Thumb "
        "Checkbox Checkbox_hover Checkbox_checked Checkbox_Checked_hover "
        "Letter");
    for (std::string name; images >> name;)
        code(AssetKind::Image, name);
    for (int size = 5; size <= 25; size += 5) {
        const std::string n = std::to_string(size);
        for (const std::string& name : {"Grid" + n, "G" + n + "TileHighlight", "G" + n + "MarkHighlight",
                                        "G" + n + "CursorHighlight", "SmallGrid" + n})
            code(AssetKind::Image, name);
    }
    for (const char* name : {"Button", "Highlight", "Bell", "Glow", "whoosh", "bounce", "land"})
        code(AssetKind::Sound, name);
    ForEachPuzzle([&](int, int, int, const PuzzleRecord& record) {
        code(AssetKind::Sound, "reveal" + std::to_string(record.GridSize()));
    });
    for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode)
        for (int set = 0; set < gSetTable.SetCount(mode); ++set) {
            const std::string name = WStringToString(gSetTable.Find(mode, set)->name);
            code(AssetKind::Image, name + "_select");
            if (mode == 0 && (gSetTable.Find(mode, set)->x != 0 || gSetTable.Find(mode, set)->y != 0))
                code(AssetKind::Image, "map_" + name + "_btn");
            EXPECT_NE(ReadText(fs::path(TARNVALE_SOURCE_DIR) / "data/properties/assets.xml")
                          .find("<group name=\"" + name + "\""),
                      std::string::npos)
                << name << " has an asset group for its set loading";
        }
    const std::string sets = ReadText(fs::path(TARNVALE_SOURCE_DIR) / "data/properties/sets.xml");
    const std::regex music(R"re(<music\s+name="(\w+)")re");
    for (std::sregex_iterator it(sets.begin(), sets.end(), music), end; it != end; ++it)
        references.emplace_back(AssetKind::Music, (*it)[1], "sets.xml");

    std::map<AssetKind, std::map<std::string, AssetEntry>> entries;
    for (AssetKind kind : {AssetKind::Image, AssetKind::Sound, AssetKind::Music})
        entries[kind] = ReadAssetEntries(KindElement(kind));
    for (const auto& [kind, name, where] : references) {
        const auto entry = entries[kind].find(name);
        if (entry == entries[kind].end()) {
            ADD_FAILURE() << "no " << KindElement(kind) << " \"" << name << "\" in assets.xml, named by "
                          << where;
            continue;
        }
        EXPECT_TRUE(IsBuilt(entry->second)) << KindElement(kind) << " \"" << name
                                            << "\": " << entry->second.file << " is not in the data folder";
    }
}
