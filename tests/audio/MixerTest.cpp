#include "audio/Mixer.h"
#include "platform/SoundSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

std::shared_ptr<const PcmSound> MonoSound(const std::vector<int16_t>& samples, int rate = 44100)
{
    auto sound = std::make_shared<PcmSound>();
    sound->channels = 1;
    sound->samplesPerSecond = rate;
    sound->bitsPerSample = 16;
    for (int16_t s : samples) {
        sound->data.push_back(static_cast<uint8_t>(s & 0xFF));
        sound->data.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    return sound;
}

std::vector<int16_t> Render(Mixer& mixer, size_t frames)
{
    std::vector<int16_t> out(frames * 2);
    mixer.Render(out.data(), frames);
    return out;
}

TEST(MixerTest, VolumeAndPanScaleEachSide)
{
    Mixer mixer;
    auto voice = mixer.CreateVoice(MonoSound(std::vector<int16_t>(100, 10000)));
    mixer.SetVoiceVolume(voice, -605);
    ASSERT_TRUE(mixer.PlayVoice(voice, false));
    auto out = Render(mixer, 4);
    EXPECT_NEAR(out[0], 4983, 1);
    EXPECT_NEAR(out[1], 4983, 1);

    mixer.SetVoiceVolume(voice, 0);
    mixer.SetVoicePan(voice, 10000);
    out = Render(mixer, 2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 10000);

    mixer.SetVoicePan(voice, -2000);
    out = Render(mixer, 2);
    EXPECT_EQ(out[0], 10000);
    EXPECT_EQ(out[1], 1000);

    mixer.SetVoiceVolume(voice, -10000);
    out = Render(mixer, 2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
}

TEST(MixerTest, LoopsWrapWithoutAGap)
{
    Mixer mixer;
    std::vector<int16_t> ramp;
    for (int i = 0; i < 7; ++i)
        ramp.push_back(static_cast<int16_t>(i * 100));
    auto voice = mixer.CreateVoice(MonoSound(ramp));
    mixer.PlayVoice(voice, true);
    auto out = Render(mixer, 23);
    for (size_t f = 0; f < 23; ++f)
        ASSERT_EQ(out[2 * f], static_cast<int16_t>((f % 7) * 100)) << "frame " << f;
    EXPECT_TRUE(mixer.IsVoicePlaying(voice));

    mixer.StopVoice(voice);
    mixer.SetVoiceFrequency(voice, 88200);
    mixer.PlayVoice(voice, true);
    out = Render(mixer, 23);
    for (size_t f = 0; f < 23; ++f)
        ASSERT_EQ(out[2 * f], static_cast<int16_t>((2 * f % 7) * 100)) << "fast frame " << f;
}

TEST(MixerTest, PlayingEndsExactlyAfterTheLastFrameAtAnyRate)
{
    Mixer mixer;
    auto voice = mixer.CreateVoice(MonoSound(std::vector<int16_t>(100, 1000)));
    mixer.PlayVoice(voice, false);
    Render(mixer, 99);
    EXPECT_TRUE(mixer.IsVoicePlaying(voice));
    auto out = Render(mixer, 2);
    EXPECT_EQ(out[0], 1000);
    EXPECT_EQ(out[2], 0);
    EXPECT_FALSE(mixer.IsVoicePlaying(voice));

    mixer.SetVoiceFrequency(voice, 88200);
    mixer.PlayVoice(voice, false);
    Render(mixer, 49);
    EXPECT_TRUE(mixer.IsVoicePlaying(voice));
    Render(mixer, 1);
    EXPECT_FALSE(mixer.IsVoicePlaying(voice));
}

TEST(MixerTest, SumSaturatesAndMasterGainScales)
{
    Mixer mixer;
    auto loud = MonoSound(std::vector<int16_t>(10, 30000));
    auto quiet = MonoSound(std::vector<int16_t>(10, -30000));
    auto a = mixer.CreateVoice(loud);
    auto b = mixer.CreateVoice(loud);
    mixer.PlayVoice(a, false);
    mixer.PlayVoice(b, false);
    for (int16_t value : Render(mixer, 9))
        ASSERT_EQ(value, 32767);

    Mixer negative;
    auto c = negative.CreateVoice(quiet);
    auto d = negative.CreateVoice(quiet);
    negative.PlayVoice(c, false);
    negative.PlayVoice(d, false);
    for (int16_t value : Render(negative, 5))
        ASSERT_EQ(value, -32768);

    negative.SetMasterGain(0.25);
    EXPECT_EQ(Render(negative, 1)[0], -15000);
    negative.SetMasterGain(7.0);
    EXPECT_DOUBLE_EQ(negative.GetMasterGain(), 1.0);
}

TEST(MixerTest, LongSoundsMixTheSameInAnyBlockSize)
{
    std::vector<int16_t> ramp(2000);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<int16_t>(static_cast<int>(i) - 1000);
    auto stereo = std::make_shared<PcmSound>();
    stereo->channels = 2;
    stereo->samplesPerSecond = 30011;
    for (int i = 0; i < 4001; ++i)
        stereo->data.push_back(static_cast<uint8_t>(i * 37));
    auto eight = std::make_shared<PcmSound>(*stereo);
    eight->channels = 1;
    eight->bitsPerSample = 8;
    eight->samplesPerSecond = 61000;

    Mixer whole;
    Mixer pieces;
    for (Mixer* mixer : {&whole, &pieces}) {
        mixer->PlayVoice(mixer->CreateVoice(MonoSound(ramp, 22050)), false);
        mixer->PlayVoice(mixer->CreateVoice(stereo), true);
        mixer->PlayVoice(mixer->CreateVoice(eight), true);
    }
    const std::vector<int16_t> expected = Render(whole, 3000);
    std::vector<int16_t> split;
    for (size_t size = 1; split.size() < expected.size(); size = size * 3 + 1) {
        auto part = Render(pieces, std::min(size, (expected.size() - split.size()) / 2));
        split.insert(split.end(), part.begin(), part.end());
    }
    EXPECT_EQ(split, expected);

    // Half rate over a ramp of unit steps lands on halves, which round to even.
    Mixer alone;
    alone.PlayVoice(alone.CreateVoice(MonoSound(ramp, 22050)), false);
    auto out = Render(alone, 3998);
    for (size_t f = 0; f < 3998; ++f)
        ASSERT_EQ(out[2 * f], std::nearbyint(static_cast<double>(f) / 2 - 1000)) << "frame " << f;
}

TEST(MixerTest, EightBitAndStereoSamplesKeepTheirLevels)
{
    Mixer mixer;
    auto eight = std::make_shared<PcmSound>();
    eight->channels = 1;
    eight->samplesPerSecond = 44100;
    eight->bitsPerSample = 8;
    eight->data = {0x80, 0xFF, 0x00};
    auto voice = mixer.CreateVoice(eight);
    mixer.PlayVoice(voice, false);
    auto out = Render(mixer, 3);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 127 * 256);
    EXPECT_EQ(out[4], -128 * 256);

    auto stereo = std::make_shared<PcmSound>();
    stereo->channels = 2;
    stereo->samplesPerSecond = 44100;
    stereo->data = {0x10, 0x00, 0xF0, 0xFF};
    auto other = mixer.CreateVoice(stereo);
    mixer.PlayVoice(other, false);
    out = Render(mixer, 1);
    EXPECT_EQ(out[0], 16);
    EXPECT_EQ(out[1], -16);
}

TEST(MixerTest, StopRewindsAndAVoiceKeepsItsSampleAlive)
{
    Mixer mixer;
    Mixer::VoiceId voice;
    {
        auto sound = MonoSound({1, 2, 3, 4});
        voice = mixer.CreateVoice(sound);
    }
    mixer.PlayVoice(voice, false);
    Render(mixer, 2);
    mixer.StopVoice(voice);
    EXPECT_FALSE(mixer.IsVoicePlaying(voice));
    mixer.PlayVoice(voice, false);
    EXPECT_EQ(Render(mixer, 1)[0], 1);
    mixer.DestroyVoice(voice);
    EXPECT_FALSE(mixer.PlayVoice(voice, false));
    EXPECT_EQ(Render(mixer, 1)[0], 0);
}

} // namespace
