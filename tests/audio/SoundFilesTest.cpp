#include "AudioTestFiles.h"

#include "audio/DSoundManager.h"
#include "platform/headless/RecordingSoundSystem.h"

#include <gtest/gtest.h>

namespace {

using namespace audiotest;

TEST(WavReaderTest, ReadsChunksInAnyOrderWithoutPaddingOrWithoutAFormat)
{
    auto file = WavBuilder()
                    .Chunk("junk", {1, 2, 3})
                    .Format(1, 2, 11025, 16)
                    .Chunk("LIST", {9})
                    .Chunk("data", Samples16({100, -100, 200, -200}))
                    .Build();
    PcmSound sound;
    ASSERT_TRUE(ParseWav(file, sound));
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.samplesPerSecond, 11025);
    EXPECT_EQ(sound.FrameCount(), 2u);
    EXPECT_EQ(SampleAt(sound, 3), -200);

    // Without a format chunk a file plays as 16-bit mono at 22050 Hz; an xor key applies to the data.
    PcmSound bare;
    ASSERT_TRUE(
        ParseWav(WavBuilder().Chunk("xor ", {0x5A}).Chunk("data", {0x5A ^ 0x34, 0x5A ^ 0x12}).Build(), bare));
    EXPECT_EQ(bare.channels, 1);
    EXPECT_EQ(bare.samplesPerSecond, 22050);
    EXPECT_EQ(bare.bitsPerSample, 16);
    EXPECT_EQ(SampleAt(bare, 0), 0x1234);
}

TEST(WavReaderTest, RefusesBrokenFilesWithoutReadingPastThem)
{
    PcmSound sound;
    sound.data = {7};
    const auto pcm = Samples16({1, 2, 3, 4});
    EXPECT_FALSE(ParseWav(WavBuilder().Format(3, 1, 22050, 32).Chunk("data", pcm).Build(), sound))
        << "float format";
    EXPECT_FALSE(ParseWav(WavBuilder().Format(1, 6, 22050, 16).Chunk("data", pcm).Build(), sound))
        << "six channels";
    EXPECT_FALSE(ParseWav(WavBuilder().Format(1, 1, 22050, 24).Chunk("data", pcm).Build(), sound))
        << "24 bits";
    EXPECT_FALSE(ParseWav(WavBuilder().Format(1, 1, 0, 16).Chunk("data", pcm).Build(), sound)) << "rate 0";
    EXPECT_FALSE(ParseWav(WavBuilder().Format(1, 1, 22050, 16).Build(), sound)) << "no data";
    EXPECT_FALSE(ParseWav(WavBuilder().Chunk("data", pcm, 0xFFFFFFFFu - 1).Build(), sound))
        << "4 GiB of data";
    EXPECT_FALSE(ParseWav(WavBuilder().Chunk("data", pcm, 9).Build(), sound)) << "truncated data";
    EXPECT_FALSE(ParseWav(WavBuilder().Chunk("junk", {}, 0xFFFFFFF8u).Chunk("data", pcm).Build(), sound))
        << "a chunk size that wraps";
    auto riffOnly = WavBuilder().Build();
    riffOnly[8] = 'X';
    EXPECT_FALSE(ParseWav(riffOnly, sound));
    EXPECT_FALSE(ParseWav({'R', 'I', 'F', 'F'}, sound));
    ASSERT_EQ(sound.data.size(), 1u);
    EXPECT_EQ(sound.data[0], 7);
}

TEST(WavReaderTest, DependencyChunkComparesTheSourceTime)
{
    TempFolder folder;
    const auto source = folder.Path() / "source.ogg";
    WriteFile(source, {1, 2, 3});
    uint64_t time = 0;
    ASSERT_TRUE(GetSourceFileTime(source.string(), time));
    auto dependency = [&](const std::string& name, uint64_t recorded) {
        std::vector<uint8_t> content;
        PutLe16(content, static_cast<uint32_t>(name.size()));
        content.insert(content.end(), name.begin(), name.end());
        PutLe32(content, static_cast<uint32_t>(recorded));
        PutLe32(content, static_cast<uint32_t>(recorded >> 32));
        return WavBuilder().Chunk("dep ", content).Chunk("data", Samples16({5})).Build();
    };
    PcmSound sound;
    EXPECT_TRUE(ParseWav(dependency(source.string(), time), sound));
    EXPECT_FALSE(ParseWav(dependency(source.string(), time + 1), sound));
    EXPECT_TRUE(ParseWav(dependency((folder.Path() / "gone.ogg").string(), 0), sound));
    EXPECT_FALSE(ParseWav(dependency((folder.Path() / "gone.ogg").string(), time), sound));
}

TEST(AuReaderTest, MuLawExpandsWithTheLoudestCodesAtTheEnds)
{
    PcmSound sound;
    ASSERT_TRUE(ParseAu(AuFile(1, 8000, 1, {0xFF, 0x7F, 0x80, 0x00, 0x81, 0xF0, 0x70}), sound));
    EXPECT_EQ(sound.samplesPerSecond, 8000);
    EXPECT_EQ(sound.data, Samples16({0, 0, 31616, -31616, 30592, 120, -120}));
}

TEST(AuReaderTest, LinearEightBitIsSignedAndUnknownSizeRunsToTheEnd)
{
    PcmSound sound;
    ASSERT_TRUE(ParseAu(AuFile(2, 8000, 2, {0x00, 0x7F, 0x80, 0xFF}, 0xFFFFFFFFu), sound));
    EXPECT_EQ(sound.bitsPerSample, 8);
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.data, (std::vector<uint8_t>{0x80, 0xFF, 0x00, 0x7F}));

    EXPECT_FALSE(ParseAu(AuFile(3, 8000, 1, {0, 0}), sound)) << "16-bit linear";
    EXPECT_FALSE(ParseAu(AuFile(1, 8000, 1, {0, 0}, 3), sound)) << "size past the end";
    EXPECT_FALSE(ParseAu(AuFile(1, 8000, 0, {0, 0}), sound)) << "no channels";
    auto badOffset = AuFile(1, 8000, 1, {0, 0});
    badOffset[7] = 200;
    EXPECT_FALSE(ParseAu(badOffset, sound));
}

TEST(OggReaderTest, DecodesWholeAndRefusesGarbage)
{
    std::vector<uint8_t> file = ReadFile(TestDataPath("tone.ogg"));
    ASSERT_FALSE(file.empty());
    PcmSound sound;
    ASSERT_TRUE(DecodeOgg(file, sound));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.samplesPerSecond, 22050);
    EXPECT_EQ(sound.FrameCount(), 5512u);
    int peak = 0;
    for (size_t i = 0; i < sound.FrameCount(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(SampleAt(sound, i))));
    EXPECT_GT(peak, 8000);

    PcmSound half;
    EXPECT_FALSE(DecodeOgg({'O', 'g', 'g', 'S', 0, 0}, half));
    EXPECT_TRUE(half.data.empty());
}

TEST(SoundLoadTest, AFailedReadLeavesTheIdEmpty)
{
    TempFolder folder;
    WriteFile(folder.Path() / "cut.wav", WavBuilder().Chunk("data", Samples16({1, 2}), 400).Build());
    WriteFile(folder.Path() / "fine.au", AuFile(1, 8000, 1, {0x80, 0x00}));
    auto system = std::make_shared<RecordingSoundSystem>();
    DSoundManager manager(system);
    EXPECT_FALSE(manager.LoadSound(2, (folder.Path() / "cut").string()));
    EXPECT_FALSE(manager.IsLoaded(2));
    EXPECT_TRUE(system->GetBuffers().empty());

    ASSERT_TRUE(manager.LoadSound(2, (folder.Path() / "fine").string()));
    EXPECT_EQ(manager.GetDataSize(2), 4u);
    EXPECT_TRUE(manager.LoadSound(2, (folder.Path() / "fine").string()));
    EXPECT_FALSE(system->GetBuffers().front()->alive);
}

} // namespace
