#include "AudioTestFiles.h"

#include "audio/AudioContext.h"
#include "audio/BassMusicInterface.h"
#include "audio/DSoundManager.h"
#include "audio/DecoderMusicEngine.h"
#include "audio/Mixer.h"
#include "audio/SoundInstance.h"
#include "platform/headless/HeadlessSoundOutput.h"
#include "platform/headless/RecordingMusicEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using namespace audiotest;

class MusicPlayerTest : public ::testing::Test
{
protected:
    MusicPlayerTest()
    {
        for (const char* name : {"song.ogg", "SONG2.OGG", "tune.mod", "noext"})
            WriteFile(m_folder.Path() / name, {1, 2, 3});
    }

    std::string Path(const std::string& name) const { return (m_folder.Path() / name).string(); }
    const RecordingMusicEngine::ChannelState& Channel(uint32_t handle) const
    {
        return *m_engine->GetChannel(handle);
    }

    TempFolder m_folder;
    std::shared_ptr<RecordingMusicEngine> m_engine = std::make_shared<RecordingMusicEngine>();
    BassMusicInterface m_player{m_engine};
};

TEST_F(MusicPlayerTest, ExtensionChoosesStreamOrModuleAndAnIdLoadsOnce)
{
    ASSERT_TRUE(m_player.LoadMusic(1, Path("song.ogg")));
    ASSERT_TRUE(m_player.LoadMusic(2, Path("SONG2.OGG")));
    ASSERT_TRUE(m_player.LoadMusic(3, Path("tune.mod")));
    ASSERT_TRUE(m_player.LoadMusic(4, Path("noext")));
    EXPECT_FALSE(m_player.LoadMusic(5, Path("missing.ogg")));
    EXPECT_FALSE(Channel(1).module);
    EXPECT_FALSE(Channel(2).module);
    EXPECT_TRUE(Channel(3).module);
    EXPECT_EQ(Channel(3).flags, 0x204u);
    EXPECT_TRUE(Channel(4).module);

    EXPECT_TRUE(m_player.LoadMusic(1, Path("tune.mod")));
    EXPECT_EQ(m_engine->GetChannels().size(), 4u);
    m_player.PlayMusic(1, 0, false);
    EXPECT_FALSE(Channel(1).module);
}

TEST_F(MusicPlayerTest, StreamOffsetsRestartContinueOrJump)
{
    ASSERT_TRUE(m_player.LoadMusic(1, Path("song.ogg")));
    m_player.PlayMusic(1, 0, true);
    EXPECT_EQ(Channel(1).restarts, 1);
    EXPECT_EQ(Channel(1).flags, 0u);
    EXPECT_TRUE(m_player.IsPlaying(1));
    m_player.PlayMusic(1, -1, false);
    EXPECT_EQ(Channel(1).restarts, 1);
    EXPECT_EQ(Channel(1).flags, MusicEngine::kFlagLoop);
    m_player.PlayMusic(1, 5000, false);
    EXPECT_EQ(Channel(1).restarts, 2);
    EXPECT_EQ(Channel(1).position, 5000);

    m_engine->Finish(1);
    EXPECT_FALSE(m_player.IsPlaying(1));
}

TEST_F(MusicPlayerTest, ModulesStartAtAnOrder)
{
    ASSERT_TRUE(m_player.LoadMusic(3, Path("tune.mod")));
    m_player.PlayMusic(3, 2, false);
    EXPECT_EQ(Channel(1).position, static_cast<int64_t>(static_cast<int32_t>(0x80000002u)));
    EXPECT_EQ(Channel(1).flags, 0x8204u);
    m_player.FadeInMusic(3, 1, 0.01, true);
    EXPECT_EQ(Channel(1).flags, 0x200u);
    EXPECT_EQ(Channel(1).state, MusicEngine::kPlaying);
}

TEST_F(MusicPlayerTest, FadesStepPerUpdateUpToTheCap)
{
    ASSERT_TRUE(m_player.LoadMusic(1, Path("song.ogg")));
    m_player.SetVolume(0.5);
    m_player.FadeInMusic(1, 0, 0.002, false);
    for (int i = 0; i < 499; ++i)
        m_player.Update();
    EXPECT_LT(m_player.GetSongVolume(1), 1.0);
    m_player.Update();
    EXPECT_DOUBLE_EQ(m_player.GetSongVolume(1), 1.0);
    EXPECT_FLOAT_EQ(Channel(1).volume, 0.5f);

    m_player.FadeOutMusic(1, true, 0.5);
    m_player.Update();
    EXPECT_TRUE(m_player.IsPlaying(1));
    m_player.Update();
    m_player.Update();
    EXPECT_DOUBLE_EQ(m_player.GetSongVolume(1), 0.0);
    EXPECT_FALSE(m_player.IsPlaying(1));
}

TEST_F(MusicPlayerTest, FadeOutOfASilentSongEndsItsFadeIn)
{
    ASSERT_TRUE(m_player.LoadMusic(1, Path("song.ogg")));
    m_player.FadeInMusic(1, 0, 0.01, false);
    m_player.FadeOutMusic(1, true, 0.01);
    EXPECT_FALSE(m_player.IsPlaying(1));
    m_player.Update();
    EXPECT_DOUBLE_EQ(m_player.GetSongVolume(1), 0.0);

    m_player.FadeInMusic(1, 0, 0.01, false);
    m_player.FadeOutMusic(1, false, 0.01);
    m_player.Update();
    EXPECT_DOUBLE_EQ(m_player.GetSongVolume(1), 0.0);
    EXPECT_TRUE(m_player.IsPlaying(1));
}

TEST_F(MusicPlayerTest, SongCapsAndPauseResume)
{
    ASSERT_TRUE(m_player.LoadMusic(1, Path("song.ogg")));
    ASSERT_TRUE(m_player.LoadMusic(2, Path("SONG2.OGG")));
    m_player.PlayMusic(1, 0, false);
    m_player.SetSongVolume(1, 0.8);
    m_player.SetSongMaxVolume(1, 0.5);
    EXPECT_DOUBLE_EQ(m_player.GetSongVolume(1), 0.5);
    m_player.SetSongVolume(1, 0.3);
    m_player.SetSongMaxVolume(1, 0.5);
    EXPECT_DOUBLE_EQ(m_player.GetSongVolume(1), 0.3);
    m_player.PlayMusic(1, 0, false);
    EXPECT_DOUBLE_EQ(m_player.GetSongVolume(1), 0.5);

    m_player.PauseAllMusic();
    EXPECT_EQ(Channel(1).state, MusicEngine::kPaused);
    EXPECT_EQ(Channel(2).state, MusicEngine::kStopped);
    m_player.ResumeAllMusic();
    EXPECT_EQ(Channel(1).state, MusicEngine::kPlaying);
    EXPECT_EQ(Channel(2).state, MusicEngine::kStopped);
}

TEST_F(MusicPlayerTest, PlayersShareTheEngineAndFreeOnlyTheirOwnSongs)
{
    ASSERT_TRUE(m_player.LoadMusic(1, Path("song.ogg")));
    {
        BassMusicInterface voice(m_engine);
        ASSERT_TRUE(voice.LoadMusic(1, Path("tune.mod")));
        voice.PlayMusic(1, 0, true);
    }
    EXPECT_FALSE(Channel(1).freed);
    EXPECT_TRUE(Channel(2).freed);
    m_player.UnloadMusic(1);
    EXPECT_TRUE(Channel(1).freed);
    EXPECT_FALSE(m_player.IsPlaying(1));
}

// The real decoders, driven by rendering the mixer by hand.
class MusicEngineTest : public ::testing::Test
{
protected:
    std::vector<int16_t> Render(size_t frames)
    {
        std::vector<int16_t> out(frames * 2);
        m_mixer->Render(out.data(), frames);
        return out;
    }
    static bool Silent(const std::vector<int16_t>& frames)
    {
        return std::all_of(frames.begin(), frames.end(), [](int16_t s) { return s == 0; });
    }

    std::shared_ptr<Mixer> m_mixer = std::make_shared<Mixer>();
    std::shared_ptr<DecoderMusicEngine> m_engine = std::make_shared<DecoderMusicEngine>(m_mixer);
    BassMusicInterface m_player{m_engine};
};

TEST_F(MusicEngineTest, OneShotOggStopsAfterItsLength)
{
    ASSERT_TRUE(m_player.LoadMusic(1, TestDataPath("tone.ogg")));
    m_player.PlayMusic(1, 0, true);
    // 5512 frames at 22050 Hz are 11024 at the output rate.
    EXPECT_FALSE(Silent(Render(11000)));
    EXPECT_TRUE(m_player.IsPlaying(1));
    Render(100);
    EXPECT_FALSE(m_player.IsPlaying(1));

    m_player.PlayMusic(1, 0, false);
    Render(30000);
    EXPECT_TRUE(m_player.IsPlaying(1));
}

TEST_F(MusicEngineTest, AnOffsetIsAPositionInDecodedBytesAndPauseResumesInPlace)
{
    ASSERT_TRUE(m_player.LoadMusic(1, TestDataPath("tone.ogg")));
    m_player.PlayMusic(1, 0, true);
    const std::vector<int16_t> whole = Render(6000);
    // 5000 bytes of 16-bit mono are 2500 frames at 22050 Hz: 5000 output frames.
    m_player.PlayMusic(1, 5000, true);
    EXPECT_EQ(Render(500), std::vector<int16_t>(whole.begin() + 10000, whole.begin() + 11000));

    m_player.PlayMusic(1, 0, true);
    EXPECT_EQ(Render(1000), std::vector<int16_t>(whole.begin(), whole.begin() + 2000));
    m_player.PauseMusic(1);
    EXPECT_TRUE(Silent(Render(500)));
    m_player.ResumeMusic(1);
    EXPECT_EQ(Render(1000), std::vector<int16_t>(whole.begin() + 2000, whole.begin() + 4000));
}

TEST_F(MusicEngineTest, Mp3AndModulesPlayAndGarbageIsRefused)
{
    ASSERT_TRUE(m_player.LoadMusic(1, TestDataPath("tone.mp3")));
    ASSERT_TRUE(m_player.LoadMusic(2, TestDataPath("tiny.mod")));
    m_player.PlayMusic(1, 0, true);
    EXPECT_FALSE(Silent(Render(8000)));
    m_player.StopMusic(1);
    m_player.PlayMusic(2, 0, true);
    EXPECT_FALSE(Silent(Render(20000)));
    m_player.PlayMusic(2, 1, false);
    EXPECT_TRUE(m_player.IsPlaying(2));

    TempFolder folder;
    WriteFile(folder.Path() / "bad.ogg", std::vector<uint8_t>(300, 0x55));
    WriteFile(folder.Path() / "bad.xm", std::vector<uint8_t>(300, 0x55));
    EXPECT_FALSE(m_player.LoadMusic(3, (folder.Path() / "bad.ogg").string()));
    EXPECT_FALSE(m_player.LoadMusic(4, (folder.Path() / "bad.xm").string()));
}

TEST(AudioContextTest, SoundsAndMusicMeetInOneOutput)
{
    TempFolder folder;
    WriteFile(folder.Path() / "beep.wav", WavFile(1, 44100, std::vector<int16_t>(1000, 1000)));
    AudioContext context(std::make_unique<HeadlessSoundOutput>());
    auto& output = dynamic_cast<HeadlessSoundOutput&>(context.GetOutput());
    ASSERT_TRUE(context.IsOpen());
    DSoundManager sounds(context.GetSoundSystem());
    BassMusicInterface music(context.GetMusicEngine());
    ASSERT_TRUE(sounds.LoadSound(0, (folder.Path() / "beep").string()));
    ASSERT_TRUE(music.LoadMusic(0, TestDataPath("tone.ogg")));

    sounds.GetSoundInstance(0)->Play(false, true);
    EXPECT_EQ(output.Pump(10)[0], 1000);
    music.PlayMusic(0, 0, true);
    auto mixed = output.Pump(200);
    music.StopMusic(0);
    auto alone = output.Pump(200);
    EXPECT_NE(mixed, alone);
    EXPECT_EQ(alone[0], 1000);

    AudioContext closed(std::make_unique<HeadlessSoundOutput>(false));
    EXPECT_FALSE(closed.IsOpen());
}

TEST(MusicDeviceTest, NoDeviceGivesASilentPlayer)
{
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    int window = 0;
    {
        auto player = BassMusicInterface::Create(&window);
        EXPECT_FALSE(player->LoadMusic(1, TestDataPath("tone.ogg")));
        player->PlayMusic(1, 0, true);
        EXPECT_FALSE(player->IsPlaying(1));
    }
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto player = BassMusicInterface::Create(&window);
    EXPECT_TRUE(player->LoadMusic(1, TestDataPath("tone.ogg")));
}

} // namespace
