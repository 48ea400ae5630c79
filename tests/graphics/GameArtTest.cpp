#include "support/GLTest.h"

#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageData.h"
#include "graphics/ImageDecoders.h"
#include "graphics/ImageLoader.h"
#include "graphics/ImageSurface.h"
#include "tools/imagegen/Look.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// The fonts and images the build generates, read as the game reads them:
// from the data folder as the working directory.
class GameArtTest : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(TARNVALE_GAME_DATA_DIR);
    }
    void TearDown() override
    {
        FreeFonts();
        std::filesystem::current_path(m_previous);
    }

    std::filesystem::path m_previous;
};

TEST_F(GameArtTest, EveryFontOfTheFontsFileLoads)
{
    ASSERT_TRUE(LoadFonts("properties/fonts.xml"));
    for (const wchar_t* name : {L"button", L"menu", L"menu_title", L"large", L"tiny", L"tiny3", L"hud_title",
                                L"hud_title2", L"hud_text", L"hud_text2"}) {
        Font* font = GetFont(name);
        ASSERT_NE(nullptr, font) << name;
        EXPECT_GT(font->StringWidth(L"Tarnvale"), 0) << name;
        EXPECT_GT(font->GetLineSpacing(), font->GetAscent()) << name;
    }
}

TEST_F(GameArtTest, ABakedBitmapFontDrawsInTheCurrentColour)
{
    ASSERT_TRUE(LoadFonts("properties/fonts.xml"));
    Font* large = GetFont(L"large");
    ASSERT_NE(nullptr, large);
    Graphics g(Screen());
    g.SetFont(large);
    g.SetColor(Color(255, 0, 0));
    int width = g.WriteString(L"\x2588", 0, large->GetAscent());
    if (width == 0)
        width = g.WriteString(L"H", 0, large->GetAscent());
    ASSERT_GT(width, 0);
    int red = 0;
    for (int y = 0; y < large->GetHeight(); ++y) {
        for (int x = 0; x < width; ++x)
            red += ScreenPixel(x, y) == 0xFFFF0000u ? 1 : 0;
    }
    EXPECT_GT(red, 20);
}

TEST_F(GameArtTest, TheStartUpImagesDecode)
{
    std::unique_ptr<Image> ball(LoadImageFile("images/logo/ball"));
    ASSERT_NE(nullptr, ball);
    EXPECT_EQ(3 * 128, ball->GetWidth());
    std::unique_ptr<Image> splash(LoadImageFile("images/splash"));
    ASSERT_NE(nullptr, splash);
    EXPECT_EQ(1024, splash->GetWidth());
    EXPECT_EQ(768, splash->GetHeight());
    std::unique_ptr<Image> cursor(LoadImageFile("images/cursors/brushcursor"));
    ASSERT_NE(nullptr, cursor);
    EXPECT_EQ(0u, cursor->GetPixel(0, 31) >> 24) << "cursors are transparent around their shape";
}

// The look page shows the palette and the type scale the content tools draw
// with: a colour or a size changed in the one place shows on the page.
TEST(LookPageTest, ListsEveryColourAndTypeTheContentToolsDrawWith)
{
    std::ifstream file(std::filesystem::path(TARNVALE_SOURCE_DIR) / "docs/look.md");
    ASSERT_TRUE(file.good());
    std::stringstream text;
    text << file.rdbuf();
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    auto hasRow = [&](const std::vector<std::string>& cells) {
        for (const std::string& line : lines) {
            bool all = true;
            for (const std::string& cell : cells)
                all = all && line.find(cell) != std::string::npos;
            if (all)
                return true;
        }
        return false;
    };
    for (const look::Entry& entry : look::kPalette) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%06X", static_cast<unsigned>(entry.colour & 0xFFFFFFu));
        EXPECT_TRUE(hasRow({"| `" + std::string(entry.name) + "` |", std::string("| ") + hex + " |"}))
            << entry.name << " " << hex;
    }
    for (const look::Type& type : look::kTypeScale) {
        const std::string face = std::filesystem::path(type.face).stem().string();
        EXPECT_TRUE(hasRow({"| " + std::string(type.name) + " |", "| " + face + " |",
                            "| " + std::to_string(type.size) + " |"}))
            << type.name;
    }
}

// Each set's banner on the puzzle choice carries the set's name in white in
// the middle of its face: on the name's widest row of letters the space
// left of the name and the space right of it are the same, whatever the
// name's length.
TEST(SetBannerTest, EveryBannerCentresItsNameOnItsFace)
{
    const std::filesystem::path folder = std::filesystem::path(TARNVALE_GAME_DATA_DIR) / "images/screens";
    int banners = 0;
    for (const std::filesystem::directory_entry& file : std::filesystem::directory_iterator(folder)) {
        const std::string name = file.path().filename().string();
        if (name.size() < 11 || name.compare(name.size() - 11, 11, "_select.png") != 0)
            continue;
        ++banners;
        std::ifstream in(file.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        ImageData image;
        std::string error;
        ASSERT_TRUE(DecodePng(bytes.str(), image, error)) << name << ": " << error;
        // The banner's opaque width (its rim), across its middle row.
        const int middle = image.height / 2;
        int rimLeft = image.width;
        int rimRight = -1;
        for (int x = 0; x < image.width; ++x) {
            if ((image.At(x, middle) >> 24) == 0xFF) {
                rimLeft = std::min(rimLeft, x);
                rimRight = std::max(rimRight, x);
            }
        }
        // The white of the letters (no colour of a banner's face comes near it).
        int inkLeft = image.width;
        int inkRight = -1;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const std::uint32_t pixel = image.At(x, y);
                const bool white = ((pixel >> 16) & 0xFF) >= 0xF0 && ((pixel >> 8) & 0xFF) >= 0xF0 &&
                                   (pixel & 0xFF) >= 0xF0 && (pixel >> 24) == 0xFF;
                if (white) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                }
            }
        }
        ASSERT_LT(rimLeft, rimRight) << name;
        ASSERT_LT(inkLeft, inkRight) << name << " has no name written on it";
        const int before = inkLeft - rimLeft;
        const int after = rimRight - inkRight;
        EXPECT_LE(std::abs(before - after), 2) << name << ": " << before << " px before the name, " << after
                                               << " px after it";
        EXPECT_GE(std::min(before, after), 20) << name << ": the name crowds the rim";
    }
    EXPECT_GE(banners, 5);
}

} // namespace
