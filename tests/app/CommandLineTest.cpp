#include "app/CommandLine.h"
#include "app/Settings.h"
#include "support/AppHarness.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(CommandLineTest, ScreensaverByNameOrParameter)
{
    EXPECT_TRUE(ParseCommandLine({"/opt/game/Tarnvale6.SCR"}).screensaver);
    EXPECT_TRUE(ParseCommandLine({"tarnvalescr"}).screensaver);
    EXPECT_FALSE(ParseCommandLine({"scr/tarnvale6"}).screensaver);
    EXPECT_TRUE(ParseCommandLine({"tarnvale6"}).IsValid());

    CommandLine preview = ParseCommandLine({"tarnvale6", "-screensaver", "/p", "4660"});
    EXPECT_TRUE(preview.IsValid());
    EXPECT_TRUE(preview.screensaver);
    EXPECT_EQ(preview.previewWindow, 4660u);

    CommandLine configure = ParseCommandLine({"tarnvale6.scr", "/c"});
    EXPECT_TRUE(configure.IsValid());
    EXPECT_TRUE(configure.configure);
    EXPECT_EQ(configure.previewWindow, 0u);
}

TEST(CommandLineTest, OtherParameters)
{
    CommandLine line = ParseCommandLine({"tarnvale6", "-changedir", "/srv/game data", "-crash"});
    EXPECT_TRUE(line.IsValid());
    EXPECT_EQ(line.changeDir, "/srv/game data");
    EXPECT_TRUE(line.crash);
}

// An argument of 100,000 characters made a message box too large for the X server (BadAlloc, no message
// at all): it is named by its start and its length.
TEST(CommandLineTest, AVeryLongParameterIsNamedByItsStartAndLength)
{
    const std::string text = ParseCommandLine({"tarnvale6", "-" + std::string(99999, 'x')}).GetErrorText();
    EXPECT_EQ(text, "Invalid command line parameter: -" + std::string(199, 'x') + "... (100000 bytes)");
    // A cut never splits a character.
    const std::string wide =
        ParseCommandLine({"tarnvale6", "-" + std::string(300, 'y') + std::string(3000, 'x')}).GetErrorText();
    const std::string accented =
        ParseCommandLine({"tarnvale6", std::string(199, 'a') + "\xC3\xA9" + std::string(500, 'b')})
            .GetErrorText();
    EXPECT_NE(accented.find(std::string(199, 'a') + "... ("), std::string::npos) << accented;
    EXPECT_LT(wide.size(), 300u);
}

TEST(CommandLineTest, AnythingElseIsNamedInTheError)
{
    EXPECT_EQ(ParseCommandLine({"tarnvale6", "-windowed"}).GetErrorText(),
              "Invalid command line parameter: -windowed");
    // Screensaver switches only mean something in screensaver mode, and a
    // preview needs a window handle.
    EXPECT_EQ(ParseCommandLine({"tarnvale6", "/p", "12"}).invalidParameter, "/p");
    EXPECT_EQ(ParseCommandLine({"tarnvale6", "-screensaver", "/p", "window"}).invalidParameter, "/p");
    EXPECT_EQ(ParseCommandLine({"tarnvale6", "-screensaver", "/p", "-1"}).invalidParameter, "/p");
    EXPECT_EQ(ParseCommandLine({"tarnvale6", "-changedir"}).invalidParameter, "-changedir");
}

TEST(CommandLineTest, ApplicationRefusesABadParameterAndEnds)
{
    AppHarnessOptions options;
    options.args = {"-fullscreen"};
    AppHarness harness(options);
    EXPECT_FALSE(harness.IsValid());
    EXPECT_EQ(harness.App().GetExitCode(), 1);
    ASSERT_EQ(harness.FatalMessages().size(), 1u);
    EXPECT_EQ(harness.FatalMessages().front(), "Invalid command line parameter: -fullscreen");
    EXPECT_FALSE(harness.Window().IsCreated());
}

TEST(CommandLineTest, ApplicationTakesScreensaverModeAndFolder)
{
    std::filesystem::path folder = std::filesystem::temp_directory_path();
    AppHarnessOptions options;
    options.args = {"-changedir", folder.string(), "-screensaver", "/p", "77"};
    AppHarness harness(options);
    ASSERT_TRUE(harness.IsValid()) << harness.GetError();
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(folder));
    EXPECT_TRUE(harness.App().IsScreensaver());
    EXPECT_EQ(harness.App().GetScreensaverPreview(), 77u);
}

} // namespace

namespace {

// TARNVALE_DATA_DIR=relsave with -changedir <data>: settings were read from ./relsave of the start folder
// but written to <data>/relsave. They are read and written in the start folder's.
TEST(CommandLineTest, ARelativeDataFolderStaysInTheStartFolderAfterChangingDirectory)
{
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "tarnvale-changedir-XXXXXX").string();
    const fs::path temp = fs::canonical(mkdtemp(pattern.data()));
    fs::create_directories(temp / "start" / "relsave");
    fs::create_directories(temp / "data");
    Settings stored;
    stored.m_musicVolume = 0.25;
    ASSERT_TRUE(WriteSettingsFile((temp / "start" / "relsave" / "settings.xml").string(), stored));
    const fs::path previous = fs::current_path();
    // The harness makes the data folder where the test runs, before it moves into the start folder.
    fs::current_path(temp / "start");
    {
        AppHarnessOptions options;
        options.workingFolder = (temp / "start").string();
        options.dataFolder = "relsave";
        options.args = {"-changedir", (temp / "data").string()};
        options.beginLoop = false;
        AppHarness harness(options);
        ASSERT_TRUE(harness.IsValid()) << harness.GetError();
        EXPECT_EQ(fs::current_path(), temp / "data");
        EXPECT_DOUBLE_EQ(harness.App().GetMusicVolume(), 0.25) << "read from the start folder's relsave";
        harness.App().SetMusicVolume(0.5);
        harness.App().WriteSettings();
    }
    Settings written;
    EXPECT_EQ(ReadSettingsFile((temp / "start" / "relsave" / "settings.xml").string(), written),
              SettingsReadResult::Read);
    EXPECT_DOUBLE_EQ(written.m_musicVolume, 0.5) << "written where it was read";
    EXPECT_FALSE(fs::exists(temp / "data" / "relsave"));
    fs::current_path(previous);
    fs::remove_all(temp);
}

} // namespace
