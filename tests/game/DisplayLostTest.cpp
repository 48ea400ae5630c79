#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/SavedFiles.h"

#include "puzzle/PlayerState.h"

namespace {

class DisplayLostTest : public GameTest
{
};

// The window tells the game that its display went away: what was played since the last save and the
// settings changed meanwhile are on disk before the program ends.
TEST_F(DisplayLostTest, ThePlayAndTheSettingsSinceTheLastSaveAreSaved)
{
    NewPlayer(L"Ann").EnsurePuzzle(0, 0, 1)->completed = true;
    App().SetMusicVolume(0.3);
    App().SetSfxVolume(0.6);

    ASSERT_TRUE(Harness().Window().LoseDisplay()) << "the game gave the window nothing to run";

    const ProfileList saved = ReadSavedProfiles();
    ASSERT_TRUE(saved.IsValidSlot(saved.selected));
    const ProfileRecord& ann = saved.records[static_cast<size_t>(saved.selected)];
    EXPECT_EQ(ann.name, L"Ann");
    EXPECT_TRUE(ann.state.IsCompleted(0, 0, 1));
    const Settings settings = ReadSavedSettings();
    EXPECT_DOUBLE_EQ(settings.m_musicVolume, 0.3);
    EXPECT_DOUBLE_EQ(settings.m_sfxVolume, 0.6);
}

} // namespace
