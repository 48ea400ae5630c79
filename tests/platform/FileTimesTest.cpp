#include "platform/FileTimes.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class FileTimesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tarnvale-times-XXXXXX").string();
        m_folder = std::string(mkdtemp(pattern.data())) + "/";
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string m_folder;
};

} // namespace

TEST_F(FileTimesTest, GivesTheModificationTimeToTheNanosecondAndTheSize)
{
    std::string path = m_folder + "sound.wav";
    std::ofstream(path, std::ios::binary) << std::string(1234, 'x');
    timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 123456789}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    FileStamp stamp;
    ASSERT_TRUE(GetFileStamp(path, stamp));
    EXPECT_EQ(stamp.seconds, 1700000000);
    EXPECT_EQ(stamp.nanoseconds, 123456789);
    EXPECT_EQ(stamp.size, 1234u);
}

TEST_F(FileTimesTest, MissingFilesAndFoldersHaveNoStamp)
{
    FileStamp stamp{5, 6, 7};
    EXPECT_FALSE(GetFileStamp(m_folder + "absent.ogg", stamp));
    EXPECT_EQ(stamp.seconds, 0);
    EXPECT_EQ(stamp.size, 0u);
    EXPECT_FALSE(GetFileStamp(m_folder, stamp));
}
