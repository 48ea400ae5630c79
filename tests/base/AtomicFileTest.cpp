#include "base/AtomicFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tarnvale-atomic-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Path(const std::string& name) const { return (m_folder / name).string(); }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    fs::path m_folder;
};

} // namespace

TEST_F(AtomicFileTest, ReplacesTheWholeFileAndLeavesNothingElse)
{
    ASSERT_TRUE(AtomicFile(Path("data.txt")).Write("first, and longer"));
    ASSERT_TRUE(AtomicFile(Path("data.txt")).Write(std::string("second\0", 7)));
    EXPECT_EQ(Read(Path("data.txt")), std::string("second\0", 7));
    EXPECT_EQ(Names(), (std::vector<std::string>{"data.txt"}));
}

TEST_F(AtomicFileTest, AFailedWriteKeepsTheOldFileRemovesTheTemporaryAndSaysWhy)
{
    ASSERT_TRUE(AtomicFile(Path("data.txt")).Write("old"));

    // Cut short, as a full disk or a crash would.
    AtomicFile cut(Path("data.txt"));
    cut.SetWriteLimit(2);
    bool replaced = false;
    cut.SetBeforeReplace([&replaced] { replaced = true; });
    EXPECT_FALSE(cut.Write("new bytes"));
    EXPECT_FALSE(replaced) << "nothing is replaced before the new bytes are whole";
    EXPECT_FALSE(cut.GetError().empty());

    // A folder where the file should be: the rename fails.
    fs::create_directories(Path("taken/inside"));
    AtomicFile taken(Path("taken"));
    EXPECT_FALSE(taken.Write("x"));
    EXPECT_NE(taken.GetError().find("taken"), std::string::npos) << taken.GetError();

    AtomicFile missing(Path("missing/data.txt"));
    EXPECT_FALSE(missing.Write("x"));
    EXPECT_FALSE(missing.GetError().empty());

    EXPECT_EQ(Read(Path("data.txt")), "old");
    EXPECT_EQ(Names(), (std::vector<std::string>{"data.txt", "taken"}));
}

TEST_F(AtomicFileTest, TheHookRunsWithTheOldFileStillInPlace)
{
    ASSERT_TRUE(AtomicFile(Path("profiles.xml")).Write("old"));
    AtomicFile file(Path("profiles.xml"));
    std::string seen;
    file.SetBeforeReplace([&] { seen = Read(Path("profiles.xml")); });
    ASSERT_TRUE(file.Write("new"));
    EXPECT_EQ(seen, "old");
    EXPECT_EQ(Read(Path("profiles.xml")), "new");
}

TEST_F(AtomicFileTest, ConcurrentWritersNeverMixTheirBytes)
{
    const std::string path = Path("profiles.xml");
    const std::string first(20000, 'a');
    const std::string second(30000, 'b');
    auto writer = [&path](const std::string& bytes) {
        for (int i = 0; i < 30; ++i) {
            EXPECT_TRUE(AtomicFile(path).Write(bytes));
        }
    };
    std::thread a(writer, std::cref(first));
    std::thread b(writer, std::cref(second));
    a.join();
    b.join();
    const std::string result = Read(path);
    EXPECT_TRUE(result == first || result == second);
    EXPECT_EQ(Names(), (std::vector<std::string>{"profiles.xml"}));
}

// A writer killed between creating its temporary file and renaming it leaves the file behind; the next
// start clears those, but never one young enough to belong to a save another process has in progress.
TEST_F(AtomicFileTest, StaleTemporariesOfAKilledWriterAreRemovedAndFreshOnesKept)
{
    const std::string target = Path("settings.xml");
    ASSERT_TRUE(AtomicFile(target).Write("kept"));
    for (const char* name : {"settings.xml.tmp-aB3dE6", "settings.xml.tmp-Zz9Yy8", "settings.xml.tmp-fresh1",
                             "settings.xml.tmp-toolong7", "other.xml.tmp-aB3dE6", "settings.xml.bak"}) {
        std::ofstream(Path(name)) << "x";
    }
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* name : {"settings.xml.tmp-aB3dE6", "settings.xml.tmp-Zz9Yy8", "settings.xml.tmp-toolong7",
                             "other.xml.tmp-aB3dE6", "settings.xml.bak"}) {
        fs::last_write_time(Path(name), old);
    }
    EXPECT_EQ(AtomicFile::RemoveStaleTemporaries(target), 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"other.xml.tmp-aB3dE6", "settings.xml", "settings.xml.bak",
                                                 "settings.xml.tmp-fresh1", "settings.xml.tmp-toolong7"}));
    EXPECT_EQ(Read(target), "kept");
}

// A saved file kept elsewhere through a link (profiles.xml -> a synced folder): the link stays a link and
// the file it leads to is replaced whole, from a temporary file beside it, through a chain of links and
// links relative to their own folder; a link to a file not made yet makes it there.
TEST_F(AtomicFileTest, ALinkStaysALinkAndTheFileItLeadsToIsReplaced)
{
    fs::create_directories(m_folder / "elsewhere");
    ASSERT_TRUE(AtomicFile(Path("elsewhere/real.xml")).Write("old"));
    fs::create_symlink("elsewhere/real.xml", m_folder / "hop.xml");
    fs::create_symlink(m_folder / "hop.xml", m_folder / "profiles.xml");
    fs::create_symlink("elsewhere/later.xml", m_folder / "settings.xml");

    ASSERT_TRUE(AtomicFile(Path("profiles.xml")).Write("new"));
    ASSERT_TRUE(AtomicFile(Path("settings.xml")).Write("made"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "profiles.xml"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "hop.xml"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "settings.xml"));
    EXPECT_EQ(Read(Path("elsewhere/real.xml")), "new");
    EXPECT_EQ(Read(Path("elsewhere/later.xml")), "made");
    EXPECT_EQ(Names(), (std::vector<std::string>{"elsewhere", "hop.xml", "profiles.xml", "settings.xml"}));

    // Temporaries a killed writer left beside the file a link leads to are found from the link.
    std::ofstream(Path("elsewhere/real.xml.tmp-aB3dE6")) << "x";
    fs::last_write_time(Path("elsewhere/real.xml.tmp-aB3dE6"),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_EQ(AtomicFile::RemoveStaleTemporaries(Path("profiles.xml")), 1);

    // A loop of links is refused, and nothing is replaced.
    fs::create_symlink("loop-b", m_folder / "loop-a");
    fs::create_symlink("loop-a", m_folder / "loop-b");
    AtomicFile loop(Path("loop-a"));
    EXPECT_FALSE(loop.Write("x"));
    EXPECT_NE(loop.GetError().find("link"), std::string::npos) << loop.GetError();
    EXPECT_TRUE(fs::is_symlink(m_folder / "loop-a"));
}

// A player who made a saved file private (0600) keeps it private: the file that replaces it takes its
// permissions. A file made new gets the usual 0644. (Links and copies: ProfileTest, SettingsTest.)
TEST_F(AtomicFileTest, TheReplacedFileKeepsItsPermissions)
{
    const auto privateMode = fs::perms::owner_read | fs::perms::owner_write;
    ASSERT_TRUE(AtomicFile(Path("settings.xml")).Write("old"));
    EXPECT_EQ(fs::status(Path("settings.xml")).permissions(),
              privateMode | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(Path("settings.xml"), privateMode);
    ASSERT_TRUE(AtomicFile(Path("settings.xml")).Write("new"));
    ASSERT_TRUE(AtomicFile(Path("settings.xml")).Write("newer"));
    EXPECT_EQ(fs::status(Path("settings.xml")).permissions(), privateMode);
}
