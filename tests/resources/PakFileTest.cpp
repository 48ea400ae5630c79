#include "resources/PakFile.h"
#include "resources/PakInterface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <string>

namespace {

class PakFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pak.AddSearchRoot(std::string(TARNVALE_TEST_DATA_DIR) + "/resources");
        SetPakInterface(&m_pak);
    }
    void TearDown() override { SetPakInterface(nullptr); }

    PakInterface m_pak;
};

TEST_F(PakFileTest, LooseFilesAreFoundUnderTheRootsWithEitherSeparator)
{
    PakFile* forward = PakOpen("properties/config.xml", "rb");
    PakFile* backward = PakOpen("properties\\config.xml", "r");
    ASSERT_NE(forward, nullptr);
    ASSERT_NE(backward, nullptr);
    EXPECT_EQ(PakGetc(forward), '<');
    EXPECT_EQ(PakGetc(backward), '<');
    PakClose(forward);
    PakClose(backward);

    EXPECT_EQ(PakOpen("properties/missing.xml", "rb"), nullptr);
    EXPECT_EQ(PakOpen("", "rb"), nullptr);
}

std::string FirstLine(const std::string& name)
{
    PakFile* file = PakOpen(name, "rb");
    if (!file) {
        return "(none)";
    }
    char line[64] = {};
    PakGets(line, sizeof(line), file);
    PakClose(file);
    return line;
}

TEST_F(PakFileTest, TheWorkingDirectoryComesFirstThenTheRootsInOrder)
{
    char pattern[] = "/tmp/tarnvale-pak-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string first = std::string(pattern) + "/first";
    std::string second = std::string(pattern) + "/second";
    std::filesystem::create_directories(first + "/sub");
    std::filesystem::create_directories(second + "/sub");
    std::ofstream(first + "/sub/both.txt") << "first";
    std::ofstream(second + "/sub/both.txt") << "second";
    std::ofstream(second + "/sub/only.txt") << "only second";
    const std::string local = "tarnvale-pak-test-local.txt";
    std::ofstream(local) << "working directory";
    std::ofstream(first + "/" + local) << "root";

    PakInterface pak;
    pak.AddSearchRoot(first);
    pak.AddSearchRoot(second + "/");
    SetPakInterface(&pak);
    EXPECT_EQ(FirstLine("sub/both.txt"), "first");
    EXPECT_EQ(FirstLine("sub\\only.txt"), "only second");
    EXPECT_EQ(FirstLine(local), "working directory");
    EXPECT_EQ(pak.FindFile("sub/missing.txt"), "");

    pak.ClearSearchRoots();
    EXPECT_EQ(FirstLine("sub/both.txt"), "(none)");
    SetPakInterface(&m_pak);
    std::filesystem::remove(local);
    std::filesystem::remove_all(pattern);
}

// Where a file found under a name really lies, its links followed: inside the folder it was found in, or
// out of it. A folder that is itself reached through a link holds its files all the same.
TEST_F(PakFileTest, AFileLeavesItsFolderOnlyWhereALinkLeadsOut)
{
    char pattern[] = "/tmp/tarnvale-pak-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path base = pattern;
    std::filesystem::create_directories(base / "data" / "sub");
    std::filesystem::create_directories(base / "away");
    std::ofstream(base / "data" / "sub" / "own.txt") << "own";
    std::ofstream(base / "away" / "other.txt") << "other";
    std::filesystem::create_symlink("own.txt", base / "data" / "sub" / "alias.txt");
    std::filesystem::create_symlink(base / "away" / "other.txt", base / "data" / "sub" / "out.txt");
    std::filesystem::create_symlink("../away", base / "data" / "door");
    std::filesystem::create_symlink(base / "data", base / "linked-data");

    for (const std::filesystem::path& root : {base / "data", base / "linked-data"}) {
        SCOPED_TRACE(root.string());
        PakInterface pak;
        pak.AddSearchRoot(root.string());
        EXPECT_FALSE(pak.LeavesItsFolder("sub/own.txt"));
        EXPECT_FALSE(pak.LeavesItsFolder("sub/alias.txt"));
        EXPECT_FALSE(pak.LeavesItsFolder("sub/../sub/own.txt"));
        EXPECT_TRUE(pak.LeavesItsFolder("sub/out.txt"));
        EXPECT_TRUE(pak.LeavesItsFolder("door/other.txt"));
        EXPECT_TRUE(pak.LeavesItsFolder("sub\\out.txt"));
        EXPECT_FALSE(pak.LeavesItsFolder("sub/missing.txt"));
        // A file that is named by its whole path lies where the path says, outside the working directory.
        EXPECT_TRUE(pak.LeavesItsFolder((base / "away" / "other.txt").string()));
    }
    std::filesystem::remove_all(base);
}

TEST_F(PakFileTest, OnlyReadingModesOpen)
{
    EXPECT_EQ(PakOpen("lines.txt", "wb"), nullptr);
    EXPECT_EQ(PakOpen("lines.txt", "r+"), nullptr);
    EXPECT_EQ(PakOpen("lines.txt", "ab"), nullptr);
    EXPECT_EQ(PakOpen("lines.txt", nullptr), nullptr);
}

TEST_F(PakFileTest, WithoutAnInterfaceTheOperatingSystemPathIsUsed)
{
    SetPakInterface(nullptr);
    EXPECT_EQ(PakOpen("lines.txt", "rb"), nullptr);
    PakFile* file = PakOpen(std::string(TARNVALE_TEST_DATA_DIR) + "\\resources\\lines.txt", "rb");
    ASSERT_NE(file, nullptr);
    PakClose(file);
}

TEST_F(PakFileTest, SeekFromEachOriginTellAndReadWholeItems)
{
    PakFile* file = PakOpen("lines.txt", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(PakSeek(file, 6, 0), 0);
    EXPECT_EQ(PakGetc(file), 'l');
    EXPECT_EQ(PakSeek(file, 5, 1), 0);
    EXPECT_EQ(PakTell(file), 12);
    EXPECT_EQ(PakGetc(file), 'e');
    EXPECT_EQ(PakSeek(file, -2, 1), 0);
    EXPECT_EQ(PakTell(file), 11);
    EXPECT_EQ(PakSeek(file, -5, 2), 0);
    EXPECT_EQ(PakGetc(file), 't');
    EXPECT_EQ(PakSeek(file, 0, 2), 0);
    EXPECT_EQ(PakTell(file), 28);

    // Refused seeks leave the position alone.
    EXPECT_EQ(PakSeek(file, -100, 0), -1);
    EXPECT_EQ(PakSeek(file, 0, 7), -1);
    EXPECT_EQ(PakTell(file), 28);

    // A read stops at the end and counts whole items: 28 bytes are seven items of four.
    PakSeek(file, 0, 0);
    char buffer[64] = {};
    EXPECT_EQ(PakRead(buffer, 4, 16, file), 7u);
    EXPECT_EQ(std::string(buffer, 10), "first line");
    EXPECT_NE(PakEof(file), 0);
    EXPECT_EQ(PakGetc(file), -1);
    PakClose(file);
}

TEST_F(PakFileTest, GetsReadsLineByLineAndSplitsLongLines)
{
    PakFile* file = PakOpen("lines.txt", "rb");
    ASSERT_NE(file, nullptr);
    char line[64];
    ASSERT_NE(PakGets(line, sizeof(line), file), nullptr);
    EXPECT_STREQ(line, "first line\n");
    char small[5];
    ASSERT_NE(PakGets(small, sizeof(small), file), nullptr);
    EXPECT_STREQ(small, "seco");
    ASSERT_NE(PakGets(line, sizeof(line), file), nullptr);
    EXPECT_STREQ(line, "nd line\n");
    ASSERT_NE(PakGets(line, sizeof(line), file), nullptr);
    EXPECT_STREQ(line, "third");
    EXPECT_EQ(PakGets(line, sizeof(line), file), nullptr);
    EXPECT_NE(PakEof(file), 0);

    EXPECT_EQ(PakGets(line, 0, file), nullptr);
    EXPECT_EQ(PakGets(line, 1, file), nullptr);
    EXPECT_STREQ(line, "");
    PakClose(file);
}

TEST_F(PakFileTest, UngetcPushesOneByteBackAndHandlesKeepTheirOwnPositions)
{
    PakFile* first = PakOpen("lines.txt", "rb");
    PakFile* second = PakOpen("lines.txt", "rb");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(PakGetc(first), 'f');
    EXPECT_EQ(PakUngetc('F', first), 'F');
    EXPECT_EQ(PakGetc(first), 'F');
    EXPECT_EQ(PakGetc(first), 'i');
    EXPECT_EQ(PakUngetc(-1, first), -1);
    EXPECT_EQ(PakGetc(second), 'f');
    PakClose(first);
    PakClose(second);
}

TEST_F(PakFileTest, NullHandlesAreHarmless)
{
    char buffer[8];
    EXPECT_EQ(PakClose(nullptr), 0);
    EXPECT_EQ(PakSeek(nullptr, 0, 0), -1);
    EXPECT_EQ(PakTell(nullptr), -1);
    EXPECT_EQ(PakRead(buffer, 1, 8, nullptr), 0u);
    EXPECT_EQ(PakGetc(nullptr), -1);
    EXPECT_EQ(PakGets(buffer, 8, nullptr), nullptr);
    EXPECT_NE(PakEof(nullptr), 0);
}

} // namespace
