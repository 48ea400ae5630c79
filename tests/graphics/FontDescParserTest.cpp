#include "graphics/FontDescParser.h"

#include <gtest/gtest.h>

namespace {

TEST(FontDescParserTest, ReadsPagesGlyphsAndKerning)
{
    FontDescParser parser;
    FontDescriptor font;
    ASSERT_TRUE(parser.Parse("# a comment\n"
                             "info face=\"Some Face\" size=12\n"
                             "common lineHeight=14 base=11\r\n"
                             "page id=1 file=\"two words.png\"\n"
                             "page id=0 file=a.png\n"
                             "char id=233 x=1 y=2 width=3 height=4 xoffset=-1 yoffset=5 xadvance=6 page=1\n"
                             "kerning first=65 second=86 amount=-2\n"
                             "chars count=1\n",
                             font))
        << parser.GetErrorText();
    EXPECT_EQ(14, font.lineHeight);
    EXPECT_EQ(11, font.base);
    EXPECT_EQ(0, font.ascentPadding);
    ASSERT_EQ(2u, font.pages.size());
    EXPECT_EQ("two words.png", font.pages[1]);
    const FontGlyph& e = font.glyphs.at(U'\u00E9');
    EXPECT_EQ(-1, e.xOffset);
    EXPECT_EQ(6, e.advance);
    EXPECT_EQ(1, e.page);
    EXPECT_EQ(-2, (font.kerning.at({U'A', U'V'})));
}

TEST(FontDescParserTest, BadInputIsRefusedWithItsLine)
{
    struct Case
    {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"page id=0 file=a.png\n", "Missing common line on Line 1"},
        {"common lineHeight=10 base=8\nchar id=65 x=1O\n", "Bad number on Line 2"},
        {"common lineHeight=10 base=8\nchar id=65 width=-3\n", "Bad glyph on Line 2"},
        {"common lineHeight=10 base=8\npage id=99 file=a.png\n", "Bad page on Line 2"},
        {"common lineHeight=10 base=8\npage id=0 file=\"a.png\nx\n", "Malformed pair on Line 2"},
        {"common lineHeight=0 base=8\n", "Bad line height or base on Line 1"},
        {"common lineHeight=1000000000 base=10\n", "Bad line height or base on Line 1"},
        {"common lineHeight=10 base=8\nchar id=65 xadvance=2147483647\n", "Bad glyph on Line 2"},
        {"common lineHeight=10 base=8\nkerning first=65 second=66 amount=-2147483648\n", "Bad kerning on Line 2"},
        {"common lineHeight=10 base=8\nchar id=65 page=3\n", "Glyph on a missing page on Line 2"},
    };
    for (const Case& c : cases) {
        FontDescParser parser;
        FontDescriptor font;
        EXPECT_FALSE(parser.Parse(c.text, font)) << c.text;
        EXPECT_EQ(c.error, parser.GetErrorText()) << c.text;
    }
}

} // namespace
