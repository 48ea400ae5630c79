#include "app/CommandLine.h"
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
