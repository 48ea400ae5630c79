#include "AudioTestFiles.h"
#include "MusicComposer.h"

#include "audio/BassMusicInterface.h"
#include "audio/DecoderMusicEngine.h"
#include "audio/Mixer.h"
#include "audio/MusicDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr size_t kRate = 44100;

struct Level
{
    int peak{0};
    double rms{0};
};

Level Measure(const std::vector<int16_t>& samples, size_t first, size_t count)
{
    Level level;
    double sum = 0;
    for (size_t i = first; i < first + count; ++i) {
        level.peak = std::max(level.peak, std::abs(static_cast<int>(samples[i])));
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    level.rms = std::sqrt(sum / static_cast<double>(count));
    return level;
}

// The whole song, decoded once through, as interleaved stereo.
std::vector<int16_t> DecodeOnce(const MusicComposer::Piece& piece)
{
    auto decoder = MusicDecoder::CreateModule(std::make_shared<std::vector<uint8_t>>(piece.file));
    EXPECT_NE(decoder, nullptr);
    std::vector<int16_t> song;
    if (!decoder)
        return song;
    std::vector<int16_t> block(4096 * 2);
    while (size_t frames = decoder->Read(block.data(), 4096))
        song.insert(song.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(frames * 2));
    return song;
}

// Kept in the build folder to look at and measure by hand.
void WriteWav(const std::string& name, const std::vector<int16_t>& song)
{
    std::filesystem::create_directories("music_render");
    audiotest::WriteFile("music_render/" + name + ".wav", audiotest::WavFile(2, kRate, song));
}

class GameMusicTest : public ::testing::TestWithParam<MusicComposer::Piece (*)()>
{
protected:
    MusicComposer::Piece m_piece = GetParam()();
};

TEST_P(GameMusicTest, TheShippedFileIsTheComposersRepeatableOutput)
{
    EXPECT_EQ(m_piece.file, GetParam()().file);
    std::ifstream in(std::string(TARNVALE_GAME_DATA_DIR) + "/music/" + m_piece.name + ".mod",
                     std::ios::binary);
    const std::vector<uint8_t> shipped{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(shipped, m_piece.file);
}

TEST_P(GameMusicTest, OnePassLastsItsRowsAndNeverClips)
{
    const std::vector<int16_t> song = DecodeOnce(m_piece);
    WriteWav(m_piece.name, song);
    const double seconds = static_cast<double>(song.size() / 2) / kRate;
    EXPECT_NEAR(seconds, MusicComposer::LengthSeconds(m_piece), 0.05);
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 120.0);

    const Level whole = Measure(song, 0, song.size());
    EXPECT_LT(whole.peak, 32000);
    // Heard, not a whisper: every second carries sound.
    EXPECT_GT(whole.rms, 1000);
    for (size_t second = 0; second + 1 < song.size() / 2 / kRate; ++second)
        EXPECT_GT(Measure(song, second * kRate * 2, kRate * 2).rms, 300) << "second " << second;
}

// Played looping by the game's music player, the end runs into the start
// with no gap and no jump, and the second pass repeats the first once the
// last notes of the first have died away.
TEST_P(GameMusicTest, ThePlayerLoopsItSeamlessly)
{
    const size_t loopFrames = DecodeOnce(m_piece).size() / 2;
    audiotest::TempFolder folder;
    const std::filesystem::path path = folder.Path() / (m_piece.name + ".mod");
    audiotest::WriteFile(path, m_piece.file);
    auto mixer = std::make_shared<Mixer>();
    BassMusicInterface player{std::make_shared<DecoderMusicEngine>(mixer)};
    ASSERT_TRUE(player.LoadMusic(0, path.string()));
    player.PlayMusic(0, 0, false);

    const size_t total = loopFrames + 20 * kRate;
    std::vector<int16_t> out(total * 2);
    mixer->Render(out.data(), total);
    EXPECT_TRUE(player.IsPlaying(0));

    const size_t block = kRate / 50;
    int steepest = 0;
    for (size_t i = 2; i < loopFrames * 2; ++i)
        steepest = std::max(steepest, std::abs(out[i] - out[i - 2]));
    for (size_t start = loopFrames - kRate; start < loopFrames + kRate; start += block)
        EXPECT_GT(Measure(out, start * 2, block * 2).rms, 100) << "gap at frame " << start;
    for (size_t i = (loopFrames - block) * 2; i < (loopFrames + block) * 2; ++i)
        ASSERT_LE(std::abs(out[i] - out[i - 2]), steepest) << "jump at frame " << i / 2;

    const size_t settled = 16 * kRate;
    EXPECT_TRUE(std::equal(out.begin() + static_cast<std::ptrdiff_t>(settled * 2),
                           out.begin() + static_cast<std::ptrdiff_t>((settled + kRate) * 2),
                           out.begin() + static_cast<std::ptrdiff_t>((loopFrames + settled) * 2)));
    EXPECT_LT(Measure(out, 0, out.size()).peak, 32000);

    player.PlayMusic(0, 0, true);
    std::vector<int16_t> once((loopFrames + kRate) * 2);
    mixer->Render(once.data(), loopFrames + kRate);
    EXPECT_FALSE(player.IsPlaying(0));
}

INSTANTIATE_TEST_SUITE_P(Pieces, GameMusicTest,
                         ::testing::Values(&MusicComposer::MenuMusic, &MusicComposer::PlayMusic),
                         [](const auto& info) { return info.param().name; });

} // namespace
