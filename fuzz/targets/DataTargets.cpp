// Entry points for the player's files (settings.xml, profiles.xml) and the game's data tables.
#include "fuzz/FuzzTargets.h"

#include "base/Common.h"
#include "app/Settings.h"
#include "puzzle/GameData.h"
#include "puzzle/GameStats.h"
#include "puzzle/MyLocalization.h"
#include "puzzle/ProfileList.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleStats.h"
#include "puzzle/SetStats.h"
#include "resources/Localization.h"

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
    ClearGameTables();
    ClearLocalization();
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
    const std::string written = "\xFF\xFE" + WStringToUtf16LE(ProfileManager::FormatProfiles(list));
    ProfileList reread;
    Require(ProfileManager::ParseProfiles(written, reread, reason));
    Require(reread.records.size() == list.records.size() && reread.selected == list.selected);
    for (std::size_t slot = 0; slot < list.records.size(); ++slot)
        Require(reread.records[slot].name.empty() == list.records[slot].name.empty());
}

void FuzzPuzzleTable(const std::uint8_t* data, std::size_t size)
{
    ReadTable<PuzzleStats>("puzzles.xml", data, size);
}

void FuzzSetTable(const std::uint8_t* data, std::size_t size)
{
    ReadTable<SetStats>("sets.xml", data, size);
}

void FuzzGameTable(const std::uint8_t* data, std::size_t size)
{
    ReadTable<GameStats>("game.xml", data, size);
}

void FuzzLocalizationTable(const std::uint8_t* data, std::size_t size)
{
    ReadTable<MyLocalization>("localization.xml", data, size);
}
