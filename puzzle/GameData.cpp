#include "puzzle/GameData.h"

#include "base/Common.h"
#include "base/LogWriter.h"
#include "platform/FatalError.h"
#include "puzzle/ArtTiles.h"
#include "puzzle/GameStats.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/MyLocalization.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleNameTable.h"
#include "puzzle/PuzzleStats.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetStats.h"
#include "puzzle/SetTable.h"

#include <algorithm>

namespace {

// How many refused puzzles a message names before it only counts the rest.
constexpr int kNamedPuzzles = 5;

std::string Describe(const PuzzleRecord& record, int mode, int set, int puzzle)
{
    return "the puzzle \"" + WStringToString(record.name) + "\" (mode " + std::to_string(mode) + ", set " +
           std::to_string(set) + ", puzzle " + std::to_string(puzzle) +
           "): " + WStringToString(record.problem);
}

// The first refused puzzles of the table, one a line, and how many more there are; the count in refused.
std::string NameRefused(int& refused)
{
    std::string named;
    refused = 0;
    for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode) {
        const std::vector<PuzzleTable::Set>& sets = gPuzzleTable.Sets(mode);
        for (int set = 0; set < static_cast<int>(sets.size()); ++set) {
            for (int puzzle = 0; puzzle < static_cast<int>(sets[set].size()); ++puzzle) {
                const PuzzleRecord& record = sets[set][puzzle];
                if (record.playable)
                    continue;
                if (refused < kNamedPuzzles)
                    named += "\n- " + Describe(record, mode, set, puzzle);
                ++refused;
            }
        }
    }
    if (refused > kNamedPuzzles)
        named += "\n- and " + std::to_string(refused - kNamedPuzzles) + " more (see the log)";
    return named;
}

std::string CountPuzzles(int count)
{
    return std::to_string(count) + (count == 1 ? " puzzle" : " puzzles");
}

// Ends the game with one message naming the file and the first refused puzzles, when there are any.
// A board the game cannot show would open as clues without cells, or run off the screen.
int RefuseUnplayable(const std::string& file)
{
    int refused = 0;
    const std::string named = NameRefused(refused);
    if (refused == 0)
        return 0;
    FatalError(file + " holds " + CountPuzzles(refused) + " the game cannot show:" + named +
               "\nMend the file or reinstall the game.");
    return refused;
}

// The pictures were drawn for more shades of each piece than the constant gives: its value is the fault,
// and the message says which value would show them.
void RefuseForTooFewShades(int shades, int needed, int pieces)
{
    int refused = 0;
    const std::string named = NameRefused(refused);
    FatalError("The constant \"shades\" is " + std::to_string(shades) +
               " in properties/constants.xml, but the pictures need at least " + std::to_string(needed) +
               " shades of each of the " + std::to_string(pieces) + " pieces of the art tiles; with " +
               std::to_string(shades) + ", " + CountPuzzles(refused) + " cannot be shown:" + named +
               "\nSet \"shades\" to " + std::to_string(needed) + " or more, or reinstall the game.");
}

int LargestPictureValue(const PuzzleRecord& record)
{
    int largest = -1;
    for (const std::vector<int>& column : record.picture)
        for (int value : column)
            largest = std::max(largest, value);
    return largest;
}

} // namespace

int RefuseBoardsWithoutLayout(const std::string& file)
{
    std::wstring sizes;
    for (int size = 1; size <= PuzzleStats::kMaxGridSize; ++size)
        if (gGridSizeTable.Find(size))
            sizes += (sizes.empty() ? L"" : L", ") + std::to_wstring(size);
    for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode) {
        for (PuzzleTable::Set& set : gPuzzleTable.Sets(mode)) {
            for (PuzzleRecord& record : set) {
                if (!record.playable || gGridSizeTable.Find(record.GridSize()))
                    continue;
                const std::wstring n = std::to_wstring(record.GridSize());
                record.playable = false;
                record.problem = L"a " + n + L" x " + n + L" board; game.xml lays out boards of " +
                                 (sizes.empty() ? L"no size" : sizes) + L" only";
                LogWriter::WriteLine(L"puzzles.xml: " + record.name + L" is not playable: " + record.problem);
            }
        }
    }
    return RefuseUnplayable(file);
}

void LoadGameTables(const std::string& folder, const std::function<void()>& step)
{
    auto advance = [&step] {
        if (step)
            step();
    };
    PuzzleStats(folder + "puzzles.xml");
    advance();
    GameStats(folder + "game.xml");
    RefuseBoardsWithoutLayout(folder + "puzzles.xml");
    advance();
    SetStats(folder + "sets.xml");
    advance();
    ProfileManager();
    advance();
    MyLocalization(folder + "localization.xml");
    advance();
}

int RejectPicturesBeyond(int pieces, int shades)
{
    if (pieces <= 0 || shades <= 0)
        return 0;
    const int artTileCount = pieces * shades;
    int rejected = 0;
    int largest = -1;
    for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode) {
        for (PuzzleTable::Set& set : gPuzzleTable.Sets(mode)) {
            for (PuzzleRecord& record : set) {
                if (!record.playable)
                    continue;
                const int value = LargestPictureValue(record);
                if (value < artTileCount)
                    continue;
                largest = std::max(largest, value);
                record.playable = false;
                record.problem =
                    L"a picture cell beyond the " + std::to_wstring(artTileCount) + L" art tiles";
                LogWriter::WriteLine(L"puzzles.xml: " + record.name + L" is not playable: " + record.problem);
                ++rejected;
            }
        }
    }
    if (rejected == 0)
        return 0;
    // A value of the constant within its range would show every picture: the constant is at fault.
    const int needed = largest / pieces + 1;
    if (needed <= kMaxArtTileShades)
        RefuseForTooFewShades(shades, needed, pieces);
    else
        RefuseUnplayable("properties/puzzles.xml");
    return rejected;
}

void ClearGameTables()
{
    gPuzzleTable.Clear();
    gSetTable.Clear();
    gGridSizeTable.Clear();
    gPuzzleNameTable.Clear();
    ProfileManager::ClearProfiles();
}
