#include "AudioTestFiles.h"

#include "audio/DSoundManager.h"
#include "audio/SoundPlayer.h"
#include "platform/headless/RecordingSoundSystem.h"

#include <gtest/gtest.h>

namespace {

using namespace audiotest;

class SoundPlayerTest : public ::testing::Test
{
protected:
    SoundPlayerTest()
    {
        WriteFile(m_folder.Path() / "hum.wav", WavFile(1, 22050, std::vector<int16_t>(64, 1000)));
        for (int id : {1, 2})
            EXPECT_TRUE(m_manager.LoadSound(id, (m_folder.Path() / "hum").string()));
    }

    size_t Voices() const { return m_system->GetBuffers().size() - 2; }
    void Updates(int count)
    {
        for (int i = 0; i < count; ++i)
            m_player.Update();
    }

    TempFolder m_folder;
    std::shared_ptr<RecordingSoundSystem> m_system = std::make_shared<RecordingSoundSystem>();
    DSoundManager m_manager{m_system};
    SoundPlayer m_player{m_manager};
};

TEST_F(SoundPlayerTest, MinimumIntervalDropsRepeats)
{
    m_player.Play(1, 10, 1.0);
    Updates(5);
    m_player.Play(1, 10, 1.0);
    EXPECT_EQ(Voices(), 1u);
    Updates(6);
    m_player.Play(1, 10, 1.0);
    EXPECT_EQ(Voices(), 2u);
    // Ticks that passed while the loop was idle count as well.
    m_player.AddIdleTicks(11);
    m_player.Play(1, 10, 1.0);
    EXPECT_EQ(Voices(), 3u);

    m_player.Play(2, 0, 0.5);
    m_player.Play(2, 0, 0.5);
    EXPECT_EQ(Voices(), 4u);
    EXPECT_EQ(m_system->GetLastDuplicate()->volume, -605);
    m_player.Play(2, -1, 1.0);
    EXPECT_EQ(Voices(), 5u);
}

TEST_F(SoundPlayerTest, LoopsCountStartsAndFadeOutOnTheLastStop)
{
    m_player.StartLoop(1, 0.01f);
    m_player.StartLoop(1, 0.01f);
    auto loop = m_system->GetLastDuplicate();
    EXPECT_TRUE(loop->playing);
    EXPECT_TRUE(loop->looping);
    EXPECT_EQ(loop->volume, -10000);
    EXPECT_EQ(Voices(), 1u);

    m_player.StopLoop(1, 0.01f);
    Updates(100);
    EXPECT_EQ(loop->volume, 0);
    m_player.StopLoop(1, 0.01f);
    Updates(98);
    EXPECT_TRUE(m_player.HasLoop(1));
    EXPECT_TRUE(loop->playing);
    Updates(3);
    EXPECT_FALSE(m_player.HasLoop(1));
    EXPECT_FALSE(loop->playing);
}

TEST_F(SoundPlayerTest, StartingAgainDuringAFadeOutFadesBackIn)
{
    m_player.StartLoop(1, 0.02f);
    Updates(50);
    m_player.StopLoop(1, 0.02f);
    Updates(10);
    m_player.StartLoop(1, 0.02f);
    Updates(100);
    ASSERT_TRUE(m_player.HasLoop(1));
    EXPECT_EQ(m_system->GetLastDuplicate()->volume, 0);
    m_player.StopLoop(1, 0.0f);
    EXPECT_FALSE(m_player.HasLoop(1));
}

TEST_F(SoundPlayerTest, EffectsVolumeAppliesOnceToLoops)
{
    m_manager.SetVolume(0.5);
    m_player.StartLoop(1, 0.5f);
    Updates(2);
    EXPECT_EQ(m_system->GetLastDuplicate()->volume, -605);

    m_player.SilenceLoops(true, {{1, 1}, {7, 1}});
    EXPECT_EQ(m_system->GetLastDuplicate()->volume, -10000);
    m_player.SilenceLoops(false, {{1, 1}});
    EXPECT_EQ(m_system->GetLastDuplicate()->volume, -605);
}

TEST_F(SoundPlayerTest, LoopsEndingTogetherAreReleasedOnePerUpdate)
{
    m_player.StartLoop(1, 0.0f);
    m_player.StartLoop(2, 0.0f);
    m_player.StopLoop(1, 1.0f);
    m_player.StopLoop(2, 1.0f);
    m_player.Update();
    EXPECT_FALSE(m_player.HasLoop(1));
    EXPECT_TRUE(m_player.HasLoop(2));
    m_player.Update();
    EXPECT_FALSE(m_player.HasLoop(2));

    m_player.StartLoop(1, 0.0f);
    m_player.StartLoop(2, 0.0f);
    m_player.ReleaseAllLoops();
    EXPECT_FALSE(m_player.HasLoop(1));
    EXPECT_FALSE(m_system->GetLastDuplicate()->playing);
}

TEST_F(SoundPlayerTest, WithoutAChannelNothingIsRecorded)
{
    m_player.StartLoop(5, 0.0f);
    EXPECT_FALSE(m_player.HasLoop(5));
    m_player.StopLoop(5, 0.0f);
    m_player.Play(5, 100, 1.0);
    EXPECT_EQ(Voices(), 0u);
}

} // namespace
