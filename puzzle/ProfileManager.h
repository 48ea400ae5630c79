#pragma once

#include "puzzle/ProfileEnvironment.h"
#include "puzzle/ProfileList.h"

#include <cstddef>
#include <string>
#include <vector>

class PlayerState;

// Reads profiles.xml into the global profile list and selects the stored
// profile; the static operations change and save the list.
//
// A damaged profiles.xml is renamed aside (never overwritten), the backup of
// the previous save is tried, and otherwise play starts with free slots.
class ProfileManager
{
public:
    ProfileManager();

    // The largest profiles.xml the game reads. What it reads is bounded so that what it writes back stays
    // below this too (given a puzzles.xml of fewer than tens of thousands of puzzles), so saves succeed.
    static constexpr std::size_t kMaxFileBytes = 64u * 1024 * 1024;

    // What the profiles tell the game and where they are kept; the game sets it once it knows its data
    // folder, before the profiles are read.
    static const ProfileEnvironment& GetEnvironment();
    static void SetEnvironment(ProfileEnvironment environment);

    static void SelectProfile(int index);
    static void SetProfile(int slot, const std::wstring& name);
    // The first free slot, or the last slot when all are named; returns it. A name is kept as a name is
    // read back: control characters and characters the file cannot hold are left out, and it ends at the
    // name entry's 10 characters; a name of nothing else is refused (-1, nothing changes). So does
    // SetProfile.
    static int CreateProfile(const std::wstring& name);
    static void ClearProfiles();

    // A script variable a save leaves out: it does not fit what a profile keeps (ProfileBudget).
    struct LeftOutVariable
    {
        std::wstring profile;
        std::wstring name;
        // As it would be written.
        std::size_t bytes{0};
    };

    // The whole file as text (without the byte-order mark); the script variables left out of it are added
    // to leftOut when given.
    static std::wstring FormatProfiles(const ProfileList& list,
                                       std::vector<LeftOutVariable>* leftOut = nullptr);
    // Reads one profiles.xml into the list; false (list untouched) when the
    // file is missing or not well-formed.
    static bool ReadProfilesFile(const std::string& path, ProfileList& list);
    // Reads the bytes of a profiles file into the list; false (list untouched, reason given) when they
    // are not well-formed or not a profiles file.
    static bool ParseProfiles(const std::string& bytes, ProfileList& list, std::string& reason);

    // What the last load did, for the log and the tests.
    enum class LoadResult
    {
        NoFile,
        Loaded,
        LoadedBackup,
        DamagedStartedEmpty
    };
    static LoadResult LastLoadResult();
};

// profiles.xml in the data folder.
std::string GetProfilesPath();
// Writes the whole list; nothing while the list is empty or in screensaver
// mode. False when nothing could be written (the old file stays).
bool SaveProfiles();
// The selected profile's state, or null.
PlayerState* GetCurrentPlayerState();
// SetProfile for 0 <= slot < 8 only; an empty name deletes the profile.
void SetProfileNameChecked(int slot, const std::wstring& name);
