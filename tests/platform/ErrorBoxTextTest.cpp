#include "platform/sdl/SdlMessageBox.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(ErrorBoxTextTest, ALongMessageIsBrokenAtBlanksIntoLinesTheBoxCanShow)
{
    const std::string message = "The game's data was not found: there is no properties/assets.xml in "
                                "/home/robin/games. Start the game from its own folder, or give that folder "
                                "with -changedir.";
    const std::string wrapped = WrapForErrorBox(message, 40);
    const std::vector<std::string> lines = Lines(wrapped);
    ASSERT_GT(lines.size(), 3u);
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 40u) << line;
        EXPECT_FALSE(line.empty());
    }
    // Only the blanks the lines were broken at are gone.
    std::string joined;
    for (const std::string& line : lines)
        joined += (joined.empty() ? "" : " ") + line;
    EXPECT_EQ(joined, message);

    // A short message, and its own line breaks, stay as they are.
    EXPECT_EQ(WrapForErrorBox("No renderer.\nTry again.", 40), "No renderer.\nTry again.");
}

TEST(ErrorBoxTextTest, AWordLongerThanALineIsBrokenWhereTheLineEndsCountingCharactersNotBytes)
{
    const std::string path = "/home/" + std::string(50, 'x') + "/data";
    EXPECT_EQ(Lines(WrapForErrorBox("in " + path, 20)),
              (std::vector<std::string>{"in", "/home/" + std::string(14, 'x'), std::string(20, 'x'),
                                        std::string(16, 'x') + "/dat", "a"}));

    // Twelve two-byte letters fit a line of twelve.
    const std::string wide = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
                             "\xC3\xA9\xC3\xA9";
    EXPECT_EQ(WrapForErrorBox(wide + " ok", 12), wide + "\nok");
}
