#include "AudioTestFiles.h"

#include "audio/DSoundManager.h"
#include "base/Common.h"
#include "platform/DataFolder.h"
#include "platform/headless/RecordingSoundSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace {

using namespace audiotest;
namespace fs = std::filesystem;

// Sounds are named relative to the working folder, as the game names them;
// the data folder (and so the cache) is a second temporary folder.
class SoundCacheTest : public ::testing::Test
{
protected:
    SoundCacheTest()
    {
        m_previousFolder = fs::current_path();
        fs::current_path(m_work.Path());
        ::setenv("TARNVALE_DATA_DIR", m_data.Path().c_str(), 1);
        m_cacheFile = fs::path(GetAppDataFolder()) / "cached" / "sounds" / "tone.wav";
    }
    ~SoundCacheTest() override
    {
        fs::current_path(m_previousFolder);
        ::unsetenv("TARNVALE_DATA_DIR");
    }

    std::shared_ptr<const PcmSound> Load(const std::string& name)
    {
        DSoundManager manager(std::make_shared<RecordingSoundSystem>());
        return manager.LoadSound(0, name) ? manager.GetSound(0) : nullptr;
    }

    TempFolder m_work;
    TempFolder m_data;
    fs::path m_previousFolder;
    fs::path m_cacheFile;
};

TEST_F(SoundCacheTest, DecodedOggIsCachedWithTheCanonicalHeaderAndServesWithoutTheSource)
{
    fs::create_directories(m_work.Path() / "sounds");
    fs::copy_file(TestDataPath("tone.ogg"), m_work.Path() / "sounds" / "tone.ogg");
    auto decoded = Load("sounds/tone");
    ASSERT_NE(decoded, nullptr);
    ASSERT_TRUE(fs::exists(m_cacheFile));

    const std::vector<uint8_t> cached = ReadFile(m_cacheFile);
    const auto dataSize = static_cast<uint32_t>(decoded->data.size());
    const std::vector<uint8_t> header = MakeWavHeader(1, 22050, 16, dataSize);
    ASSERT_GE(cached.size(), 44u + dataSize);
    EXPECT_TRUE(std::equal(header.begin() + 8, header.end(), cached.begin() + 8));
    EXPECT_TRUE(std::equal(decoded->data.begin(), decoded->data.end(), cached.begin() + 44));
    // 44100 bytes a second in blocks of two.
    EXPECT_EQ(std::vector<uint8_t>(cached.begin() + 28, cached.begin() + 34),
              (std::vector<uint8_t>{0x44, 0xAC, 0, 0, 2, 0}));

    fs::remove(m_work.Path() / "sounds" / "tone.ogg");
    auto fromCache = Load("sounds/tone");
    ASSERT_NE(fromCache, nullptr);
    EXPECT_EQ(fromCache->data, decoded->data);
}

TEST_F(SoundCacheTest, AChangedSourceIsDecodedAgain)
{
    const fs::path source = m_work.Path() / "sounds" / "tone.au";
    WriteFile(source, AuFile(1, 8000, 1, {0x80, 0x80}));
    auto first = Load("sounds/tone");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SampleAt(*first, 0), 31616);

    WriteFile(source, AuFile(1, 8000, 1, {0x00, 0x00, 0x00}));
    auto second = Load("sounds/tone");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(SampleAt(*second, 0), -31616);

    // Same size, newer time.
    WriteFile(source, AuFile(1, 8000, 1, {0xFF, 0xFF, 0xFF}));
    fs::last_write_time(source, fs::last_write_time(source) + std::chrono::seconds(5));
    auto third = Load("sounds/tone");
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(SampleAt(*third, 0), 0);
}

TEST_F(SoundCacheTest, AbsoluteAndEscapingNamesAreNeverCached)
{
    WriteFile(m_work.Path() / "abs.au", AuFile(1, 8000, 1, {0x80}));
    ASSERT_NE(Load((m_work.Path() / "abs").string()), nullptr);
    EXPECT_FALSE(fs::exists(fs::path(GetAppDataFolder()) / "cached"));

    EXPECT_EQ(GetCachePath("/abs/name"), "");
    EXPECT_EQ(GetCachePath("\\abs\\name"), "");
    EXPECT_EQ(GetCachePath("C:sound"), "");
    EXPECT_EQ(GetCachePath("ab"), "");
    EXPECT_EQ(GetCachePath("../outside"), "");
    EXPECT_EQ(GetCachePath("sounds\\..\\..\\outside"), "");
    EXPECT_EQ(GetCachePath("sounds\\click"), GetAppDataFolder() + "cached/sounds/click.wav");
    EXPECT_EQ(GetCachePath("sounds/..click"), GetAppDataFolder() + "cached/sounds/..click.wav");
}

TEST_F(SoundCacheTest, SourceWavIsNeverCopiedAndACacheFileHidesTheSources)
{
    WriteFile(m_work.Path() / "sounds" / "tone.wav", WavFile(1, 22050, {10, 20}));
    ASSERT_NE(Load("sounds/tone"), nullptr);
    EXPECT_FALSE(fs::exists(m_cacheFile));

    WriteFile(m_cacheFile, WavFile(1, 22050, {30}));
    auto loaded = Load("sounds/tone");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(SampleAt(*loaded, 0), 30);
}

} // namespace
