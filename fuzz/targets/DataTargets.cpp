// Entry points for the player's files (settings.xml, profiles.xml) and the game's data tables.
#include "fuzz/FuzzTargets.h"

#include "app/Settings.h"
#include "base/Common.h"
#include "puzzle/Clues.h"
#include "puzzle/GameData.h"
#include "puzzle/GameStats.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/MyLocalization.h"
#include "puzzle/PlayRules.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileList.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleStats.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetStats.h"
#include "puzzle/SetTable.h"
#include "resources/Localization.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

std::string AsText(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

// A broken promise of a writer: the run stops here, and the input is kept.
void Require(bool promise)
{
    if (!promise)
        std::abort();
}

template <typename Table> void ReadTable(const char* fileName, const std::uint8_t* data, std::size_t size)
{
    const std::string path = WriteScratchFile(fileName, data, size);
    Table table(path);
}

void ClearTables()
{
    ClearGameTables();
    ClearLocalization();
}

// The map adds a button's size (at most an 8192-pixel image) to a set's position, and the set screens
// compare unlock counts with puzzle counts: what the table holds must leave room for that.
void UseSetTable()
{
    constexpr int kLargestImage = 8192;
    for (int mode = 0; mode < SetTable::kModeCount; ++mode) {
        for (const SetRecord& set : gSetTable.Sets(mode)) {
            Require(set.x > INT_MIN + kLargestImage && set.x < INT_MAX - kLargestImage);
            Require(set.y > INT_MIN + kLargestImage && set.y < INT_MAX - kLargestImage);
            Require(set.unlock >= 0 && set.unlock < INT_MAX - kLargestImage);
        }
    }
}

// What play does with each puzzle the game accepts: its clues, its rules, a fresh player state shaped by
// the table. Boards without a layout are refused first, as at start.
void UsePuzzleTable()
{
    for (int size : {5, 10, 15})
        gGridSizeTable.Set(size, GridSizeRecord{150, 150, size, 1, 4});
    RefuseBoardsWithoutLayout("puzzles.xml");
    RejectPicturesBeyond(16, 4);
    for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode) {
        for (const PuzzleTable::Set& set : gPuzzleTable.Sets(mode)) {
            for (const PuzzleRecord& record : set) {
                if (!record.playable)
                    continue;
                Require(gGridSizeTable.Find(record.GridSize()) != nullptr);
                std::vector<ClueList> columns;
                std::vector<ClueList> rows;
                BuildClues(record.tiles, columns, rows);
                PlayRules rules(record.tiles, 4, [](int bound) { return bound > 0 ? bound - 1 : 0; });
                rules.ChooseHintCells(3);
            }
        }
    }
    // A fresh state: one entry fewer than the table has sets, but always the first set's.
    PlayerState fresh;
    Require(fresh.SetCount(0) == std::max(gPuzzleTable.SetCount(0) - 1, 1));
}

// The grid's layout divides the clue room by the clue count and draws the allowances one by one.
void UseGameTable()
{
    for (int size = 1; size <= PuzzleStats::kMaxGridSize; ++size) {
        if (const GridSizeRecord* record = gGridSizeTable.Find(size)) {
            Require(record->offsetX >= 0 && record->offsetX <= 1024 && record->offsetY >= 0 &&
                    record->offsetY <= 1024);
            Require(record->hints >= 1 && record->hints <= 1000 && record->hintReward >= 1 &&
                    record->hintReward <= 1000 && record->mistakes >= 1 && record->mistakes <= 1000);
        }
    }
}

} // namespace

// Whatever a settings file holds, what the game writes back from it reads back with the same unknown
// attributes.
void FuzzSettings(const std::uint8_t* data, std::size_t size)
{
    Settings settings;
    std::string reason;
    if (!ParseSettingsText(AsText(data, size), settings, reason))
        return;
    const std::wstring written = StrFormatW(L"<settings %s/>\n", GetSettingsAttributes(settings));
    // What is written back always fits what the next start reads.
    Require(2 + 2 * Utf16Length(written) <= kMaxSettingsFileBytes);
    Settings reread;
    Require(ParseSettingsText(WStringToString(written), reread, reason));
    Require(reread.m_otherAttributes == settings.m_otherAttributes);
}

// Whatever a profiles file holds, what the game writes back from it reads back with every named profile
// still named, in its slot.
void FuzzProfiles(const std::uint8_t* data, std::size_t size)
{
    ProfileList list;
    std::string reason;
    if (!ProfileManager::ParseProfiles(AsText(data, size), list, reason))
        return;
    std::vector<ProfileManager::LeftOutVariable> leftOut;
    const std::string written = "\xFF\xFE" + WStringToUtf16LE(ProfileManager::FormatProfiles(list, &leftOut));
    // The reader and the writer count a profile's budget alike: no variable read is left out of a save.
    Require(leftOut.empty());
    ProfileList reread;
    Require(ProfileManager::ParseProfiles(written, reread, reason));
    Require(reread.records.size() == list.records.size() && reread.selected == list.selected);
    // Nothing is lost or grows from one save to the next, and a save always fits what is read back.
    Require(ProfileManager::FormatProfiles(reread) == ProfileManager::FormatProfiles(list));
    Require(written.size() <= ProfileManager::kMaxFileBytes);
    for (std::size_t slot = 0; slot < list.records.size(); ++slot) {
        Require(reread.records[slot].name.empty() == list.records[slot].name.empty());
        // What is read is bounded: names as the name entry takes them, open puzzles within the set.
        Require(list.records[slot].name.size() <= 10);
        for (const std::vector<SetProgress>& sets : list.records[slot].state.progress) {
            for (const SetProgress& set : sets)
                Require(set.unlock >= 0 && set.unlock <= static_cast<int>(set.puzzles.size()) + 1);
        }
    }
}

void FuzzPuzzleTable(const std::uint8_t* data, std::size_t size)
{
    ReadTable<PuzzleStats>("puzzles.xml", data, size);
    UsePuzzleTable();
    ClearTables();
}

void FuzzSetTable(const std::uint8_t* data, std::size_t size)
{
    ReadTable<SetStats>("sets.xml", data, size);
    UseSetTable();
    ClearTables();
}

void FuzzGameTable(const std::uint8_t* data, std::size_t size)
{
    ReadTable<GameStats>("game.xml", data, size);
    UseGameTable();
    ClearTables();
}

void FuzzLocalizationTable(const std::uint8_t* data, std::size_t size)
{
    ReadTable<MyLocalization>("localization.xml", data, size);
    ClearTables();
}
