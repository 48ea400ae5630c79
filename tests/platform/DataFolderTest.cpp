#include "platform/DataFolder.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Each test's environment variables get their old values back.
class DataFolderTest : public ::testing::Test
{
protected:
    void Set(const std::string& name, const char* value) { m_environment.Set(name, value); }

    ScopedEnvironment m_environment;
};

} // namespace

TEST_F(DataFolderTest, TheOverrideWinsAndEndsWithASlash)
{
    Set("XDG_DATA_HOME", "/data/xdg");
    Set("TARNVALE_DATA_DIR", "/tmp/saves");
    EXPECT_EQ(FindDataFolder("Ostrel", "Tarnvale 6"), "/tmp/saves/");
    Set("TARNVALE_DATA_DIR", "/tmp/saves/");
    EXPECT_EQ(FindDataFolder("Ostrel", "Tarnvale 6"), "/tmp/saves/");
}

TEST_F(DataFolderTest, CompanyAndProductGoUnderTheUsersDataHome)
{
    Set("TARNVALE_DATA_DIR", nullptr);
    Set("XDG_DATA_HOME", "/data/xdg");
    EXPECT_EQ(FindDataFolder("Ostrel", "Tarnvale 6"), "/data/xdg/Ostrel/Tarnvale 6/");

    const std::string fallback = "/home/ann/.local/share/Ostrel/Tarnvale 6/";
    Set("HOME", "/home/ann");
    Set("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(FindDataFolder("Ostrel", "Tarnvale 6"), fallback);
    // A relative data home is not valid and is ignored, as is an empty override.
    Set("XDG_DATA_HOME", "relative/dir");
    Set("TARNVALE_DATA_DIR", "");
    EXPECT_EQ(FindDataFolder("Ostrel", "Tarnvale 6"), fallback);
}

TEST_F(DataFolderTest, TheAppDataFolderIsCreatedAndEmptyWordsAreIgnored)
{
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "tarnvale-folder-XXXXXX").string();
    const fs::path temp = mkdtemp(pattern.data());
    Set("TARNVALE_DATA_DIR", nullptr);
    Set("XDG_DATA_HOME", (temp / "xdg").c_str());
    InitAppDataFolder(L"Company", L"Prodüct");
    InitAppDataFolder(L"", L"");
    EXPECT_EQ(GetAppDataFolder(), (temp / "xdg/Company/Prodüct/").string());
    EXPECT_TRUE(fs::is_directory(temp / "xdg/Company/Prodüct"));
    InitAppDataFolder(L"Ostrel", L"Tarnvale 6");
    fs::remove_all(temp);
}

// TARNVALE_DATA_DIR=relsave: the folder is the one under the working directory where the game first
// looked, however the directory changes afterwards (-changedir).
TEST_F(DataFolderTest, ARelativeFolderStaysWhereItWasFirstFound)
{
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "tarnvale-relative-XXXXXX").string();
    const fs::path temp = fs::canonical(mkdtemp(pattern.data()));
    fs::create_directories(temp / "start");
    fs::create_directories(temp / "data");
    const fs::path previous = fs::current_path();
    fs::current_path(temp / "start");
    const std::string name = "relsave-" + temp.filename().string();
    Set("TARNVALE_DATA_DIR", name.c_str());

    const std::string expected = (temp / "start" / name).string() + "/";
    EXPECT_EQ(GetAppDataFolder(), expected);
    // A relative home, the same way, whatever company and product words come later.
    Set("HOME", name.c_str());
    Set("XDG_DATA_HOME", nullptr);
    Set("TARNVALE_DATA_DIR", nullptr);
    EXPECT_EQ(FindDataFolder("Ostrel", "Tarnvale 6"), expected + ".local/share/Ostrel/Tarnvale 6/");
    Set("TARNVALE_DATA_DIR", name.c_str());

    fs::current_path(temp / "data");
    EXPECT_EQ(GetAppDataFolder(), expected);
    EXPECT_EQ(FindDataFolder("Ostrel", "Tarnvale 6"), expected);
    Set("TARNVALE_DATA_DIR", nullptr);
    EXPECT_EQ(FindDataFolder("Company", "Product"), expected + ".local/share/Company/Product/");
    EXPECT_FALSE(fs::exists(temp / "data" / name)) << "nothing is made under the new directory";

    fs::current_path(previous);
    fs::remove_all(temp);
}
