#include "base/Common.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

namespace fs = std::filesystem;

int ParsedInt(const std::wstring& text)
{
    int value = 12345;
    EXPECT_TRUE(StringToInt(text, value)) << "text: " << WStringToString(text);
    return value;
}

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "tarnvale-common-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(m_path); }
    std::string Path(const std::string& name = "") const { return m_path + "/" + name; }

private:
    std::string m_path;
};

} // namespace

TEST(StringToInt, ReadsDecimalHexAndSignUpToTheFirstOtherCharacterAndSaturates)
{
    EXPECT_EQ(ParsedInt(L"-56"), -56);
    EXPECT_EQ(ParsedInt(L"0x1F"), 31);
    EXPECT_EQ(ParsedInt(L"0Xff"), 255);
    EXPECT_EQ(ParsedInt(L"-0x10"), -16);
    EXPECT_EQ(ParsedInt(L"0x"), 0);
    EXPECT_EQ(ParsedInt(L"1f"), 1);
    EXPECT_EQ(ParsedInt(L"42px"), 42);
    EXPECT_EQ(ParsedInt(L"abc"), 0);
    EXPECT_EQ(ParsedInt(L" 7"), 0);
    EXPECT_EQ(ParsedInt(L"+7"), 0);
    EXPECT_EQ(ParsedInt(L"-"), 0);
    EXPECT_EQ(ParsedInt(L"2147483648"), INT_MAX);
    EXPECT_EQ(ParsedInt(L"-2147483648"), INT_MIN);
    EXPECT_EQ(ParsedInt(L"-99999999999999999999999999"), INT_MIN);
    EXPECT_EQ(ParsedInt(L"0xFFFFFFFFFFFFFFFFFF"), INT_MAX);

    int value = 99;
    EXPECT_FALSE(StringToInt(L"", value));
    EXPECT_EQ(value, 0);
}

TEST(ParseFloatW, ReadsNumbersAndToleratesGarbage)
{
    EXPECT_FLOAT_EQ(ParseFloatW(L"-2.25e1"), -22.5f);
    EXPECT_FLOAT_EQ(ParseFloatW(L"  .5x"), 0.5f);
    EXPECT_EQ(ParseFloatW(L""), 0.0f);
    EXPECT_EQ(ParseFloatW(L"abc"), 0.0f);
    EXPECT_EQ(ParseFloatW(L"1e39"), FLT_MAX);
    EXPECT_EQ(ParseFloatW(L"-1e39"), -FLT_MAX);
    EXPECT_EQ(ParseFloatW(L"nan"), 0.0f);
    EXPECT_EQ(ParseFloatW(L"inf"), 0.0f);
}

TEST(StrFormatW, NumberConversionsWithFlagsWidthAndPrecision)
{
    EXPECT_EQ(StrFormatW(L"%d|%i|%u", 42, -7, 3u), L"42|-7|3");
    EXPECT_EQ(StrFormatW(L"[%5d][%-5d][%05d][%+d][% d]", 42, 42, 42, 42, 42),
              L"[   42][42   ][00042][+42][ 42]");
    EXPECT_EQ(StrFormatW(L"%.3d %x %X %#x %o", 7, 255, 255, 255, 8), L"007 ff FF 0xff 10");
    EXPECT_EQ(StrFormatW(L"%x", -1), L"ffffffff");
    EXPECT_EQ(StrFormatW(L"%d", int64_t{-9000000000}), L"-9000000000");
    EXPECT_EQ(StrFormatW(L"%*d|%-*d|", 4, 1, 3, 2), L"   1|2  |");
    EXPECT_EQ(StrFormatW(L"%d %d", true, 'A'), L"1 65");
    EXPECT_EQ(StrFormatW(L"%f %.2f|%8.3f|%-8.1f|", 1.5, 3.14159, 2.5f, -1.25),
              L"1.500000 3.14|   2.500|-1.2    |");
    EXPECT_EQ(StrFormatW(L"%e %g %g %.1f", 12345.0, 0.85, 1e8, 2), L"1.234500e+04 0.85 1e+08 2.0");
    EXPECT_EQ(StrFormatW(L"%ld %I64d %lu", 1L, int64_t{2}, 3UL), L"1 2 3");
}

TEST(StrFormatW, TextAndCharacterConversions)
{
    EXPECT_EQ(StrFormatW(L"%s and %s", std::wstring(L"Grüße"), std::string("naïve")), L"Grüße and naïve");
    EXPECT_EQ(StrFormatW(L"%s/%ls/%S", L"literal", L"wide", "utf8 ✓"), L"literal/wide/utf8 ✓");
    EXPECT_EQ(StrFormatW(L"[%6s][%-6s][%.2s]", L"ab", L"ab", L"abcdef"), L"[    ab][ab    ][ab]");
    EXPECT_EQ(StrFormatW(L"%c%c%c", L'x', 'y', 0x263A), L"xy☺");
    EXPECT_EQ(StrFormatW(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
    EXPECT_EQ(StrFormat("%s=%d %c", std::wstring(L"größe"), 3, L'é'), "größe=3 é");
}

TEST(StrFormatW, PercentSignsAndUnknownSpecsStandAsWritten)
{
    EXPECT_EQ(StrFormatW(L"%d%% of 100%%", 50), L"50% of 100%");
    EXPECT_EQ(StrFormatW(L"50%"), L"50%");
    EXPECT_EQ(StrFormatW(L"%y and %5k", 1, 2), L"%y and %5k");
}

TEST(StrFormatW, MismatchedArgumentsAreHarmless)
{
    EXPECT_EQ(StrFormatW(L"%s %s", 42, 0.5), L"42 0.5");
    EXPECT_EQ(StrFormatW(L"%d|%5d|%f", L"text", "ab", L"x"), L"text|   ab|x");
    EXPECT_EQ(StrFormatW(L"%d %d", 2.9, 1e300), L"2 9223372036854775807");
    EXPECT_EQ(StrFormatW(L"%c", -5), L"\uFFFD");
    // Missing arguments print nothing; extra ones are ignored.
    EXPECT_EQ(StrFormatW(L"a%sb%dc"), L"abc");
    EXPECT_EQ(StrFormatW(L"%d and %s", 1), L"1 and ");
    EXPECT_EQ(StrFormatW(L"%*d", L"wide"), L"");
    EXPECT_EQ(StrFormatW(L"none", 1, L"x"), L"none");
}

// A widget or other object pointer must not silently print as "1".
static_assert(!std::is_constructible_v<FormatArg, int*>);
static_assert(!std::is_constructible_v<FormatArg, std::nullptr_t>);

TEST(StrFormatW, HugeFieldsFromDataFilesAreBounded)
{
    EXPECT_LE(StrFormatW(L"%999999999d", 1).size(), 1100u);
    EXPECT_LE(StrFormatW(L"%.999999999f", 1.0).size(), 1100u);
    EXPECT_LE(StrFormatW(L"%*s", 2000000000, L"x").size(), 1100u);
}

TEST(TextConversion, WideTextRoundTripsThroughUtf8AndEncodesAsUtf16)
{
    std::wstring text = L"A\u00E9\u20AC\U0001F600z";
    EXPECT_EQ(WStringToString(text), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(StringToWString(WStringToString(text)), text);
    EXPECT_EQ(WStringToUtf16LE(L"A\u00E9\U0001F600"), std::string("A\0\xE9\0\x3D\xD8\x00\xDE", 8));
    EXPECT_EQ(WStringToUtf16LE(std::wstring(1, static_cast<wchar_t>(0xDC00))), "\xFD\xFF");
}

TEST(SplitAndReplace, PiecesBetweenSeparatorsAndEveryOccurrenceReplacedOnce)
{
    EXPECT_EQ(SplitString(L"a,b,,c", L","), (std::vector<std::wstring>{L"a", L"b", L"", L"c"}));
    EXPECT_EQ(SplitString(L",x,", L","), (std::vector<std::wstring>{L"", L"x", L""}));
    EXPECT_EQ(SplitString(L"Hi [player]!", L"[player]"), (std::vector<std::wstring>{L"Hi ", L"!"}));
    EXPECT_EQ(SplitString(L"abc", L""), (std::vector<std::wstring>{L"abc"}));

    EXPECT_EQ(ReplaceAll(std::wstring(L"[player] and [player]"), L"[player]", L"Ann"), L"Ann and Ann");
    EXPECT_EQ(ReplaceAll(std::wstring(L"aa"), L"a", L"aa"), L"aaaa");
    EXPECT_EQ(ReplaceAll(std::wstring(L"abc"), L"", L"x"), L"abc");
}

TEST(RandomNumbers, SeededSequencesRepeatAndStayInRange)
{
    SeedRandom(1234);
    std::vector<int> first;
    for (int i = 0; i < 20; ++i) {
        first.push_back(Rand(1000));
    }
    SeedRandom(1234);
    for (int expected : first) {
        EXPECT_EQ(Rand(1000), expected);
    }

    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        seen.insert(RandRange(-3, 3));
        float f = RandFloatRange(2.0f, 4.0f);
        double d = RandDouble(5.0);
        ASSERT_TRUE(f >= 2.0f && f <= 4.0f && d >= 0.0 && d < 5.0) << f << " " << d;
    }
    EXPECT_EQ(seen, (std::set<int>{-3, -2, -1, 0, 1, 2}));

    EXPECT_EQ(Rand(0), 0);
    EXPECT_EQ(Rand(-5), 0);
    EXPECT_EQ(RandRange(4, 2), 4);
    EXPECT_EQ(RandDouble(0.0), 0.0);
    EXPECT_LT(RandRange(INT_MIN, INT_MAX), INT_MAX);
}

TEST(FilePaths, FileDirAndMakeDirectoriesTakeBothSeparators)
{
    EXPECT_EQ(GetFileDir(std::string("images/ui/button.png")), "images/ui");
    EXPECT_EQ(GetFileDir(std::string("a/b\\c")), "a/b");
    EXPECT_EQ(GetFileDir(std::string("button.png")), "");
    EXPECT_EQ(GetFileDir(std::wstring(L"dir\\file")), L"dir");

    TempFolder temp;
    EXPECT_TRUE(MakeDirectories(temp.Path("a/b\\c/")));
    EXPECT_TRUE(fs::is_directory(temp.Path("a/b/c")));
    EXPECT_TRUE(MakeDirectories(temp.Path("a/b/c")));
    std::ofstream(temp.Path("file")) << "x";
    EXPECT_FALSE(MakeDirectories(temp.Path("file/sub")));
}
