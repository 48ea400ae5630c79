#include "support/GLTest.h"

#include "graphics/FontDescParser.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFont.h"
#include "graphics/ImageSurface.h"
#include "graphics/ImageWriter.h"
#include "graphics/SysFont.h"

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;

// A bitmap font whose letters are 8 x 10 blocks advancing 10 pixels, with
// ascent 8 and line height 12; "A" and "V" kern by -2.
class FontTest : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        m_folder = fs::temp_directory_path() / ("tarnvale_fonts_" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        ImageData page{16, 16, std::vector<std::uint32_t>(256, 0xFFFFFFFFu)};
        ASSERT_TRUE(WritePng(page, (m_folder / "blocks.png").string()));
        std::string descriptor = "info face=\"Blocks\" size=10\n"
                                 "common lineHeight=12 base=8 ascentPadding=1\n"
                                 "page id=0 file=\"blocks.png\"\n";
        for (char c = 'A'; c <= 'Z'; ++c)
            descriptor += "char id=" + std::to_string(static_cast<int>(c)) +
                          " x=0 y=0 width=8 height=10 xoffset=1 yoffset=0 xadvance=10 page=0\n";
        descriptor += "char id=32 x=0 y=0 width=0 height=0 xoffset=0 yoffset=0 xadvance=10 page=0\n";
        descriptor += "kerning first=65 second=86 amount=-2\n";
        WriteText("blocks.txt", descriptor);
        m_font = std::make_unique<ImageFont>(PathOf("blocks.txt"));
        ASSERT_TRUE(m_font->IsValid());
    }
    void TearDown() override
    {
        m_font.reset();
        FreeFonts();
        fs::remove_all(m_folder);
    }

    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }
    void WriteText(const std::string& name, const std::string& text) const
    {
        std::ofstream(PathOf(name)) << text;
    }

    fs::path m_folder;
    std::unique_ptr<ImageFont> m_font;
};

TEST_F(FontTest, ABitmapFontMeasuresFromItsDescriptor)
{
    EXPECT_EQ(8, m_font->GetAscent());
    EXPECT_EQ(1, m_font->GetAscentPadding());
    EXPECT_EQ(12, m_font->GetLineSpacing());
    EXPECT_EQ(10, m_font->CharWidth(L'Q'));
    EXPECT_EQ(0, m_font->CharWidth(L'q'));
    EXPECT_EQ(28, m_font->StringWidth(L"AVA"));
    std::unique_ptr<Font> copy(m_font->Duplicate());
    EXPECT_EQ(28, copy->StringWidth(L"AVA"));
}

TEST_F(FontTest, TextIsWrittenFromItsBaselineWithJustification)
{
    Graphics g(Screen());
    g.SetFont(m_font.get());
    g.SetColor(Color(255, 0, 0));
    EXPECT_EQ(20, g.WriteString(L"AB", 100, 50));
    // Glyph tops sit ascent (8) above the baseline; each starts at its xoffset.
    EXPECT_EQ(0u, ScreenPixel(101, 41));
    EXPECT_EQ(0xFFFF0000u, ScreenPixel(101, 42));
    EXPECT_EQ(0xFFFF0000u, ScreenPixel(108, 51));
    EXPECT_EQ(0u, ScreenPixel(100, 45));

    // Centred in 100 pixels: 40 pixels of margin; right-aligned: 80.
    g.WriteString(L"AB", 0, 100, 100, 0);
    EXPECT_EQ(0u, ScreenPixel(40, 95));
    EXPECT_EQ(0xFFFF0000u, ScreenPixel(41, 95));
    g.WriteString(L"AB", 0, 150, 100, 1);
    EXPECT_EQ(0xFFFF0000u, ScreenPixel(81, 145));
    EXPECT_EQ(0u, ScreenPixel(80, 145));
    // A part of the text only, measured without drawing.
    EXPECT_EQ(30, g.WriteString(L"ABCDE", 0, 0, -1, -1, false, 1, 3));
}

TEST_F(FontTest, WordWrapBreaksAtBlanksAndNewLines)
{
    Graphics g;
    g.SetFont(m_font.get());
    int widest = -1;
    // "AAA BB" is 60 wide; at 50 it breaks after "AAA".
    EXPECT_EQ(24, g.GetWordWrappedHeight(50, L"AAA BB", -1, &widest));
    EXPECT_EQ(30, widest);
    EXPECT_EQ(12, g.GetWordWrappedHeight(60, L"AAA BB", -1, &widest));
    EXPECT_EQ(60, widest);
    EXPECT_EQ(36, g.GetWordWrappedHeight(500, L"A\nBB\nCCC", -1, &widest));
    EXPECT_EQ(30, widest);
    EXPECT_EQ(60, g.GetWordWrappedHeight(500, L"A\nBB\nCCC", 20, &widest));
    // A word wider than the width is split rather than lost.
    EXPECT_EQ(36, g.GetWordWrappedHeight(40, L"ABCDEFGHIJ", -1, &widest));
    EXPECT_EQ(40, widest);
    EXPECT_EQ(0, g.GetWordWrappedHeight(100, L"", -1, &widest));
}

TEST_F(FontTest, WrappedWritingStopsAtTheLineLimit)
{
    Graphics g(Screen());
    g.SetFont(m_font.get());
    g.SetColor(OpaqueWhite);
    int widest = 0;
    int height = g.WriteWordWrapped(Rect{0, 20, 40, 100}, L"AA BB CC", -1, -1, 2, &widest);
    EXPECT_EQ(24, height);
    EXPECT_EQ(20, widest);
    EXPECT_EQ(0xFFFFFFFFu, ScreenPixel(3, 15));
    EXPECT_EQ(0xFFFFFFFFu, ScreenPixel(3, 27));
    EXPECT_EQ(0u, ScreenPixel(3, 39));
}

TEST_F(FontTest, ANullFontMeasuresNothingAndTheTableInsertsEmptyEntries)
{
    Graphics g(Screen());
    EXPECT_EQ(0, g.WriteString(L"text", 10, 10));
    EXPECT_EQ(0, g.GetWordWrappedHeight(100, L"some text"));
    EXPECT_EQ(nullptr, GetFont(L"no such font"));
    AddFont(L"blocks", m_font->Duplicate());
    ASSERT_NE(nullptr, GetFont(L"blocks"));
    EXPECT_EQ(10, GetFont(L"blocks")->CharWidth(L'A'));
}

TEST_F(FontTest, TheFontsFileNamesSystemAndBitmapFonts)
{
    WriteText("fonts.xml", "<fonts>\n"
                           "  <font name=\"body\" face=\"Arial\" size=\"12\"/>\n"
                           "  <font name=\"title\" face=\"Times New Roman\" size=\"20\" bold=\"true\"/>\n"
                           "  <font name=\"blocks\" descriptor=\"" +
                               PathOf("blocks.txt") +
                               "\"/>\n"
                               "  <font name=\"broken\" descriptor=\"" +
                               PathOf("missing.txt") +
                               "\"/>\n"
                               "</fonts>\n");
    EXPECT_FALSE(LoadFonts(PathOf("fonts.xml"))) << "the broken entry is reported";
    ASSERT_NE(nullptr, GetFont(L"body"));
    ASSERT_NE(nullptr, GetFont(L"title"));
    EXPECT_GT(GetFont(L"title")->GetHeight(), GetFont(L"body")->GetHeight());
    ASSERT_NE(nullptr, GetFont(L"blocks"));
    EXPECT_EQ(12, GetFont(L"blocks")->GetLineSpacing());
    EXPECT_EQ(nullptr, GetFont(L"broken"));
}

TEST(SysFontTest, TheFallbackFontHasStableMetricsAndNoGlyphForUnknownCharacters)
{
    SysFont font(L"Arial Unicode MS", 10);
    ASSERT_TRUE(font.IsValid());
    EXPECT_GT(font.GetAscent(), 0);
    EXPECT_GE(font.GetHeight(), font.GetAscent());
    EXPECT_GE(font.GetLineSpacing(), font.GetHeight() - 1);
    EXPECT_GT(font.CharWidth(L'W'), font.CharWidth(L'i'));
    EXPECT_EQ(0, font.CharWidth(static_cast<wchar_t>(0x10FFFD)));
    EXPECT_EQ(font.CharWidth(L'a') * 3, font.StringWidth(L"aaa"));
    SysFont again(L"Arial Unicode MS", 10);
    EXPECT_EQ(font.StringWidth(L"The quick brown fox"), again.StringWidth(L"The quick brown fox"));
}

TEST_F(FontTest, ASystemFontDrawsItsGlyphsInTheCurrentColour)
{
    SysFont font(L"Arial", 24, true);
    Graphics g(Screen());
    g.SetFont(&font);
    g.SetColor(Color(0, 255, 0));
    g.WriteString(L"\x2588", 300, 300); // a full block
    int ascent = font.GetAscent();
    EXPECT_COLOR_NEAR(0xFF00FF00u, ScreenPixel(300 + font.CharWidth(L'\x2588') / 2, 300 - ascent / 2));
    EXPECT_EQ(0u, ScreenPixel(299 + font.CharWidth(L'\x2588') + 2, 300 - ascent / 2));
}

TEST_F(FontTest, GlyphsStillDrawOnceTheirFirstPageIsFull)
{
    SysFont font(L"Arial", 48);
    Graphics g(Screen());
    g.SetFont(&font);
    std::wstring many;
    for (wchar_t c = 0x21; c < 0x17F; ++c)
        many += c;
    g.WriteString(many, 0, -500);
    g.SetColor(Color(0, 0, 255));
    g.WriteString(L"\x2588", 100, 200);
    EXPECT_COLOR_NEAR(0xFF0000FFu,
                      ScreenPixel(100 + font.CharWidth(L'\x2588') / 2, 200 - font.GetAscent() / 2));
}

TEST_F(FontTest, GlyphsAddedToAPageOnTheDeviceDrawBesideTheEarlierOnes)
{
    SysFont font(L"Arial", 24, true);
    Graphics g(Screen());
    g.SetFont(&font);
    g.SetColor(Color(0, 255, 0));
    const int ascent = font.GetAscent();
    const int blockWidth = font.CharWidth(L'\x2588');
    auto expectBlocks = [&](const char* when) {
        // A full block, then an upper half block: green above the middle, nothing below.
        EXPECT_COLOR_NEAR(0xFF00FF00u, ScreenPixel(300 + blockWidth / 2, 300 - ascent / 2)) << when;
        EXPECT_COLOR_NEAR(0xFF00FF00u, ScreenPixel(400 + blockWidth / 2, 300 - ascent + 2)) << when;
        EXPECT_EQ(0u, ScreenPixel(400 + blockWidth / 2, 300 + font.GetHeight() - ascent - 2)) << when;
    };
    g.WriteString(L"\x2588", 300, 300);
    // The page's texture is on the device now: the next glyph goes into it alone.
    g.WriteString(L"\x2580", 400, 300);
    expectBlocks("a glyph added to the page on the device");

    // Enough glyphs for the page to grow (a new, larger texture) and fill.
    std::wstring many;
    for (wchar_t c = 0x21; c < 0x17F; ++c)
        many += c;
    g.WriteString(many, 0, -500);
    Screen()->Clear();
    g.WriteString(L"\x2588", 300, 300);
    g.WriteString(L"\x2580", 400, 300);
    expectBlocks("after the page grew");
}

} // namespace
