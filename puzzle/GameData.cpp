#include "puzzle/GameData.h"

#include "base/Common.h"
#include "base/LogWriter.h"
#include "platform/FatalError.h"
#include "puzzle/GameStats.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/MyLocalization.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleNameTable.h"
#include "puzzle/PuzzleStats.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetStats.h"
#include "puzzle/SetTable.h"

namespace {

// How many refused puzzles a message names before it only counts the rest.
constexpr int kNamedPuzzles = 5;

std::string Describe(const PuzzleRecord& record, int mode, int set, int puzzle)
{
    return "the puzzle \"" + WStringToString(record.name) + "\" (mode " + std::to_string(mode) + ", set " +
           std::to_string(set) + ", puzzle " + std::to_string(puzzle) +
           "): " + WStringToString(record.problem);
}

// Ends the game with one message naming the file and the first refused puzzles, when there are any.
// A board the game cannot show would open as clues without cells, or run off the screen.
int RefuseUnplayable(const std::string& file)
{
    std::string named;
    int refused = 0;
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
    if (refused == 0)
        return 0;
    std::string message = file + " holds " + std::to_string(refused) +
                          (refused == 1 ? " puzzle" : " puzzles") + " the game cannot show:" + named;
    if (refused > kNamedPuzzles)
        message += "\n- and " + std::to_string(refused - kNamedPuzzles) + " more (see the log)";
    message += "\nMend the file or reinstall the game.";
    FatalError(message);
    return refused;
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

int RejectPicturesBeyond(int artTileCount)
{
    int rejected = 0;
    for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode) {
        for (PuzzleTable::Set& set : gPuzzleTable.Sets(mode)) {
            for (PuzzleRecord& record : set) {
                bool beyond = false;
                for (const std::vector<int>& column : record.picture)
                    for (int value : column)
                        beyond = beyond || value >= artTileCount;
                if (!beyond || !record.playable)
                    continue;
                record.playable = false;
                record.problem =
                    L"a picture cell beyond the " + std::to_wstring(artTileCount) + L" art tiles";
                LogWriter::WriteLine(L"puzzles.xml: " + record.name + L" is not playable: " + record.problem);
                ++rejected;
            }
        }
    }
    if (rejected > 0)
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
