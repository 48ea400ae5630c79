#include "platform/FileTimes.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

TEST(FileTimesTest, StampsGiveTheModificationTimeToTheNanosecondAndTheSize)
{
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "tarnvale-times-XXXXXX").string();
    const std::string folder = std::string(mkdtemp(pattern.data())) + "/";
    const std::string path = folder + "sound.wav";
    std::ofstream(path, std::ios::binary) << std::string(1234, 'x');
    timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 123456789}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    FileStamp stamp;
    ASSERT_TRUE(GetFileStamp(path, stamp));
    EXPECT_EQ(stamp.seconds, 1700000000);
    EXPECT_EQ(stamp.nanoseconds, 123456789);
    EXPECT_EQ(stamp.size, 1234u);

    // Missing files and folders have no stamp, and the old one is not left behind.
    EXPECT_FALSE(GetFileStamp(folder + "absent.ogg", stamp));
    EXPECT_EQ(stamp.seconds, 0);
    EXPECT_EQ(stamp.size, 0u);
    EXPECT_FALSE(GetFileStamp(folder, stamp));
    fs::remove_all(folder);
}
