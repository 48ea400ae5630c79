#include "AudioTestFiles.h"

#include "audio/AudioContext.h"
#include "audio/DSoundManager.h"
#include "audio/Mixer.h"
#include "audio/MixerSoundSystem.h"
#include "audio/SoundInstance.h"
#include "platform/headless/ManualClock.h"
#include "platform/headless/RecordingSoundSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <thread>
#include <utility>

namespace {

using namespace audiotest;

class DSoundManagerTest : public ::testing::Test
{
protected:
    DSoundManagerTest() : m_scopedClock(m_clock)
    {
        m_clock.Advance(5000);
        WriteFile(m_folder.Path() / "beep.wav", WavFile(1, 22050, std::vector<int16_t>(64, 1000)));
        m_name = (m_folder.Path() / "beep").string();
    }

    TempFolder m_folder;
    ManualClock m_clock;
    ScopedClock m_scopedClock;
    std::shared_ptr<RecordingSoundSystem> m_system = std::make_shared<RecordingSoundSystem>();
    DSoundManager m_manager{m_system};
    std::string m_name;
};

TEST_F(DSoundManagerTest, VolumeConvertsToHundredthsOfADecibelWithinRange)
{
    EXPECT_EQ(DSoundManager::VolumeToDecibels(1.0), 0);
    EXPECT_EQ(DSoundManager::VolumeToDecibels(0.0), -10000);
    EXPECT_EQ(DSoundManager::VolumeToDecibels(0.01), -10000);
    EXPECT_EQ(DSoundManager::VolumeToDecibels(-0.5), -10000);
    EXPECT_EQ(DSoundManager::VolumeToDecibels(std::nan("")), -10000);
    EXPECT_EQ(DSoundManager::VolumeToDecibels(3.0), 0);
}

TEST_F(DSoundManagerTest, InstanceVolumeMultipliesOwnBaseAndEffectsVolume)
{
    ASSERT_TRUE(m_manager.LoadSound(3, m_name));
    SoundInstance* instance = m_manager.GetSoundInstance(3);
    ASSERT_NE(instance, nullptr);
    auto buffer = m_system->GetLastDuplicate();
    instance->SetVolume(0.5);
    EXPECT_EQ(buffer->volume, -605);
    instance->SetVolume(1.0);
    m_manager.SetVolume(0.1);
    EXPECT_EQ(buffer->volume, -1682);
    m_manager.SetVolume(1.0);

    ASSERT_TRUE(m_manager.SetBaseVolume(3, 0.5));
    EXPECT_FALSE(m_manager.SetBaseVolume(1024, 0.5));
    m_manager.GetSoundInstance(3);
    EXPECT_EQ(m_system->GetLastDuplicate()->volume, -605);
}

TEST_F(DSoundManagerTest, PanAddsTheBasePanAndPitchWorksFromTheBaseFrequencyBothClamped)
{
    ASSERT_TRUE(m_manager.LoadSound(0, m_name));
    ASSERT_TRUE(m_manager.SetBasePan(0, 8000));
    SoundInstance* instance = m_manager.GetSoundInstance(0);
    auto buffer = m_system->GetLastDuplicate();
    EXPECT_EQ(buffer->pan, 8000);
    instance->SetPan(5000);
    EXPECT_EQ(buffer->pan, 10000);
    instance->SetPan(std::numeric_limits<int>::min());
    EXPECT_EQ(buffer->pan, -10000);

    // Semitones count from the sound's own rate each time, within 100 Hz to 100 kHz.
    const std::pair<int, uint32_t> pitches[] = {
        {12, 44100}, {12, 44100}, {-100, 100}, {100, 100000}, {0, 22050}};
    for (const auto& [semitones, frequency] : pitches) {
        instance->AdjustPitch(semitones);
        EXPECT_EQ(buffer->frequency, frequency) << semitones;
    }
}

TEST_F(DSoundManagerTest, ThirtyTwoChannelsAndAPlayedOutInstanceFreesItsOwn)
{
    ASSERT_TRUE(m_manager.LoadSound(0, m_name));
    for (int i = 0; i < 31; ++i)
        ASSERT_NE(m_manager.GetSoundInstance(0), nullptr);
    SoundInstance* oneShot = m_manager.GetSoundInstance(0);
    ASSERT_NE(oneShot, nullptr);
    EXPECT_TRUE(oneShot->Play(false, true));
    EXPECT_EQ(m_manager.GetSoundInstance(0), nullptr);
    m_system->FinishAll();
    EXPECT_NE(m_manager.GetSoundInstance(0), nullptr);
    EXPECT_EQ(m_manager.GetSoundInstance(0), nullptr);
}

TEST_F(DSoundManagerTest, SweepDeletesFinishedInstancesOnlyAfterASecond)
{
    ASSERT_TRUE(m_manager.LoadSound(0, m_name));
    SoundInstance* held = m_manager.GetSoundInstance(0);
    SoundInstance* oneShot = m_manager.GetSoundInstance(0);
    auto oneShotBuffer = m_system->GetLastDuplicate();
    oneShot->Play(false, true);
    m_manager.GetSoundInstance(0); // the first search sweeps once and stamps the time
    held->Release();
    m_system->FinishAll();

    m_clock.Advance(1000);
    m_manager.GetSoundInstance(0); // reuses the held channel only
    EXPECT_TRUE(oneShotBuffer->alive);
    m_clock.Advance(1);
    m_manager.GetSoundInstance(0);
    EXPECT_FALSE(oneShotBuffer->alive);
}

TEST_F(DSoundManagerTest, StopAllSoundsKeepsSelfReleasingInstancesReclaimable)
{
    ASSERT_TRUE(m_manager.LoadSound(0, m_name));
    for (int i = 0; i < 31; ++i)
        m_manager.GetSoundInstance(0);
    SoundInstance* oneShot = m_manager.GetSoundInstance(0);
    oneShot->Play(false, true);
    m_manager.StopAllSounds();
    EXPECT_NE(m_manager.GetSoundInstance(0), nullptr);

    m_manager.ReleaseChannels();
    for (int i = 0; i < 31; ++i)
        m_manager.GetSoundInstance(0);
    oneShot = m_manager.GetSoundInstance(0);
    oneShot->Play(false, true);
    oneShot->Stop();
    EXPECT_EQ(m_manager.GetSoundInstance(0), nullptr);
}

TEST_F(DSoundManagerTest, FindOrLoadSoundReusesNamesAndTakesHighIds)
{
    EXPECT_EQ(m_manager.FindOrLoadSound(m_name), 1023);
    EXPECT_EQ(m_manager.FindOrLoadSound(m_name), 1023);
    EXPECT_EQ(m_manager.GetNumSounds(), 1);

    const std::string missing = (m_folder.Path() / "missing").string();
    EXPECT_EQ(m_manager.FindOrLoadSound(missing), -1);
    // The failed name keeps its id, so it is not tried again.
    EXPECT_EQ(m_manager.FindOrLoadSound(missing), 1022);

    m_manager.ReleaseSound(1023);
    EXPECT_FALSE(m_manager.IsLoaded(1023));
    EXPECT_EQ(m_manager.GetSoundInstance(1023), nullptr);
    EXPECT_EQ(m_manager.GetSoundInstance(-1), nullptr);
    EXPECT_FALSE(m_manager.LoadSound(1024, m_name));
}

TEST_F(DSoundManagerTest, IdsOutsideTheTableFindAndStopNothing)
{
    ASSERT_TRUE(m_manager.LoadSound(0, m_name));
    ASSERT_TRUE(m_manager.LoadSound(1023, m_name));
    SoundInstance* first = m_manager.GetSoundInstance(0);
    SoundInstance* last = m_manager.GetSoundInstance(1023);
    ASSERT_TRUE(first->Play(true, false));
    ASSERT_TRUE(last->Play(true, false));

    for (int id : {-1, -2, 1024, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        EXPECT_EQ(m_manager.FindPlayingInstance(id), nullptr) << id;
        m_manager.StopSound(id);
        EXPECT_TRUE(first->IsPlaying()) << id;
        EXPECT_TRUE(last->IsPlaying()) << id;
        EXPECT_FALSE(m_manager.SetBaseVolume(id, 0.5)) << id;
        EXPECT_FALSE(m_manager.SetBasePan(id, 100)) << id;
        m_manager.ReleaseSound(id);
        EXPECT_EQ(m_manager.GetSoundInstance(id), nullptr) << id;
    }
    EXPECT_EQ(m_manager.GetNumSounds(), 2);

    m_manager.StopSound(1023);
    EXPECT_TRUE(first->IsPlaying());
    EXPECT_FALSE(last->IsPlaying());
    m_manager.StopAllSounds();
    EXPECT_FALSE(first->IsPlaying());
}

TEST_F(DSoundManagerTest, AFailedVoiceGivesNoInstanceAndTheGameGoesOn)
{
    ASSERT_TRUE(m_manager.LoadSound(0, m_name));
    m_system->SetDuplicatesFail(true);
    EXPECT_EQ(m_manager.GetSoundInstance(0), nullptr);
    m_system->SetDuplicatesFail(false);
    EXPECT_NE(m_manager.GetSoundInstance(0), nullptr);
}

TEST(DSoundManagerSilentTest, EverythingIsAcceptedAndNothingSounds)
{
    DSoundManager manager(nullptr);
    EXPECT_FALSE(manager.Initialized());
    EXPECT_TRUE(manager.LoadSound(4, "no/such/sound"));
    EXPECT_FALSE(manager.IsLoaded(4));
    EXPECT_EQ(manager.FindOrLoadSound("anything"), 1023);
    for (int i = 0; i < 40; ++i) {
        SoundInstance* instance = manager.GetSoundInstance(7);
        ASSERT_NE(instance, nullptr) << i;
        EXPECT_FALSE(instance->Play(false, true));
        EXPECT_FALSE(instance->IsPlaying());
    }
}

TEST(DSoundManagerMixerTest, ReleasingASoundWhileItsInstancePlaysIsSafe)
{
    TempFolder folder;
    WriteFile(folder.Path() / "tone.wav", WavFile(1, 44100, std::vector<int16_t>(100, 2000)));
    auto mixer = std::make_shared<Mixer>();
    DSoundManager manager(std::make_shared<MixerSoundSystem>(mixer));
    ASSERT_TRUE(manager.LoadSound(9, (folder.Path() / "tone").string()));
    SoundInstance* instance = manager.GetSoundInstance(9);
    ASSERT_TRUE(instance->Play(false, false));
    manager.ReleaseSound(9);
    std::vector<int16_t> out(2 * 50);
    mixer->Render(out.data(), 50);
    EXPECT_EQ(out[98], 2000);
    EXPECT_TRUE(instance->IsPlaying());
    mixer->Render(out.data(), 50);
    EXPECT_FALSE(instance->IsPlaying());
    manager.SetMasterVolume(0.5);
    EXPECT_DOUBLE_EQ(mixer->GetMasterGain(), 0.5);
}

TEST(DSoundManagerMixerTest, LoadersOnTwoThreadsNeverShareAnId)
{
    TempFolder folder;
    DSoundManager manager(std::make_shared<MixerSoundSystem>(std::make_shared<Mixer>()));
    constexpr int kPerThread = 40;
    for (int i = 0; i < 2 * kPerThread; ++i)
        WriteFile(folder.Path() / ("s" + std::to_string(i) + ".wav"),
                  WavFile(1, 22050, std::vector<int16_t>(4096, static_cast<int16_t>(i))));
    std::vector<int> ids(2 * kPerThread, -1);
    auto load = [&](int first) {
        for (int i = first; i < first + kPerThread; ++i)
            ids[i] = manager.FindOrLoadSound((folder.Path() / ("s" + std::to_string(i))).string());
    };
    std::thread other(load, kPerThread);
    load(0);
    other.join();
    std::sort(ids.begin(), ids.end());
    EXPECT_GE(ids.front(), 0);
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    EXPECT_EQ(manager.GetNumSounds(), 2 * kPerThread);
}

TEST(DSoundManagerMixerTest, LoadingOnAnotherThreadWhileTheMainThreadPlays)
{
    TempFolder folder;
    WriteFile(folder.Path() / "tone.wav", WavFile(1, 44100, std::vector<int16_t>(500, 300)));
    const std::string name = (folder.Path() / "tone").string();
    auto mixer = std::make_shared<Mixer>();
    DSoundManager manager(std::make_shared<MixerSoundSystem>(mixer));
    ASSERT_TRUE(manager.LoadSound(0, name));
    std::thread loader([&] {
        for (int round = 0; round < 20; ++round) {
            for (int id = 1; id < 40; ++id)
                manager.LoadSound(id, name);
            for (int id = 1; id < 40; ++id)
                manager.ReleaseSound(id);
        }
    });
    std::vector<int16_t> out(2 * 64);
    for (int i = 0; i < 400; ++i) {
        if (SoundInstance* instance = manager.GetSoundInstance(i % 40))
            instance->Play(false, true);
        mixer->Render(out.data(), 64);
    }
    loader.join();
    EXPECT_EQ(manager.GetNumSounds(), 1);
}

TEST(DSoundManagerDeviceTest, NoDeviceMeansSilenceAndTheDummyDeviceMeansSound)
{
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        int window = 0;
        DSoundManager manager(&window);
        // The silent context stays with the manager: the players made
        // after it share it instead of asking for a device again.
        std::weak_ptr<AudioContext> context = AudioContext::Acquire();
        EXPECT_FALSE(context.expired());
        EXPECT_FALSE(manager.Initialized());
        EXPECT_NE(manager.GetSoundInstance(0), nullptr);
    }
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    int window = 0;
    DSoundManager manager(&window);
    EXPECT_TRUE(manager.Initialized());
}

} // namespace
