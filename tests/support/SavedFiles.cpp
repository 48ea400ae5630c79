#include "support/SavedFiles.h"

#include "puzzle/ProfileManager.h"

#include <gtest/gtest.h>

ProfileList ReadSavedProfiles()
{
    ProfileList saved;
    EXPECT_TRUE(ProfileManager::ReadProfilesFile(GetProfilesPath(), saved)) << "profiles.xml unreadable";
    if (saved.records.size() < static_cast<size_t>(ProfileList::kSlots))
        saved.records.resize(ProfileList::kSlots);
    return saved;
}

Settings ReadSavedSettings()
{
    Settings settings;
    EXPECT_EQ(ReadSettingsFile(GetSettingsPath(), settings), SettingsReadResult::Read) << "settings.xml unreadable";
    return settings;
}
