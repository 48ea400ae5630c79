#include "base/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Decoded(std::string_view text)
{
    std::wstring out;
    AppendUtf8ToWide(out, text);
    return out;
}

std::string Encoded(std::u32string_view codes)
{
    std::string out;
    for (char32_t code : codes) {
        AppendUtf8(out, code);
    }
    return out;
}

} // namespace

TEST(Utf8, EveryLengthOfSequenceRoundTrips)
{
    const std::u32string codes = U"A\u00E9\u07FF\u0800\u20AC\uFFFF\U00010000\U0001F600\U0010FFFF";
    const std::string bytes = Encoded(codes);
    EXPECT_EQ(bytes, "A\xC3\xA9\xDF\xBF\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF\xF0\x90\x80\x80\xF0\x9F\x98\x80"
                     "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(Decoded(bytes), std::wstring(codes.begin(), codes.end()));
}

TEST(Utf8, EachByteOfAMalformedSequenceBecomesOneReplacement)
{
    struct Case
    {
        std::string bytes;
        std::wstring decoded;
    };
    const Case cases[] = {
        {"a\x80z", L"a\uFFFDz"},                           // stray continuation byte
        {"\xC3(", L"\uFFFD("},                             // continuation missing
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                     // overlong '/'
        {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},           // overlong three-byte form
        {"\xF0\x80\x80\xAF", L"\uFFFD\uFFFD\uFFFD\uFFFD"}, // overlong four-byte form
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},           // a surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
        {"\xF5\x80\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"}, // lead byte that never starts UTF-8
        {"\xFF", L"\uFFFD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decoded(c.bytes), c.decoded) << c.bytes;
    }
}

TEST(Utf8, ASequenceCutShortByTheEndOfTheTextIsNeverCompletedFromBeyondIt)
{
    // The bytes after the view's end would complete the euro sign: they must not be read.
    const std::string storage = "ab\xE2\x82\xAC";
    EXPECT_EQ(Decoded(std::string_view(storage).substr(0, 4)), L"ab\uFFFD\uFFFD");
    EXPECT_EQ(Decoded(std::string_view(storage).substr(0, 3)), L"ab\uFFFD");

    std::size_t position = 2;
    EXPECT_EQ(DecodeUtf8(std::string_view(storage).substr(0, 4), position), kReplacementCharacter);
    EXPECT_EQ(position, 3u);
}

TEST(Utf8, TheAsciiFastPathHandsOverAtAnyOffset)
{
    // Runs of ASCII of every length around the eight-byte steps, then a character of each kind.
    for (std::size_t run = 0; run < 20; ++run) {
        const std::string ascii(run, 'x');
        const std::wstring wide(run, L'x');
        EXPECT_EQ(Decoded(ascii + "\xC3\xA9y"), wide + L"\u00E9y") << run;
        EXPECT_EQ(Decoded(ascii + "\x80y"), wide + L"\uFFFDy") << run;
    }
    std::wstring out = L"kept";
    AppendUtf8ToWide(out, "more");
    EXPECT_EQ(out, L"keptmore");
}

TEST(Utf8, ValuesThatAreNotScalarValuesEncodeAsTheReplacement)
{
    EXPECT_EQ(Encoded(std::u32string(1, 0xD800)), "\xEF\xBF\xBD");
    EXPECT_EQ(Encoded(std::u32string(1, 0xDFFF)), "\xEF\xBF\xBD");
    EXPECT_EQ(Encoded(std::u32string(1, 0x110000)), "\xEF\xBF\xBD");
    EXPECT_EQ(Encoded(std::u32string(1, 0xFFFFFFFF)), "\xEF\xBF\xBD");
}

TEST(Utf16, PairsJoinAndEveryUnpairedSurrogateOrOddLastByteBecomesOneReplacement)
{
    auto decoded = [](std::string_view bytes, bool bigEndian) {
        std::string out;
        AppendUtf16AsUtf8(out, bytes, bigEndian);
        return out;
    };
    EXPECT_EQ(decoded(std::string_view("A\0=\xD8\0\xDE", 6), false), "A\xF0\x9F\x98\x80");
    EXPECT_EQ(decoded(std::string_view("\0A\xD8=\xDE\0", 6), true), "A\xF0\x9F\x98\x80");
    // A high surrogate before "i", a low one alone, a high one at the end.
    EXPECT_EQ(decoded(std::string_view("\0\xD8i\0\0\xDCz\0\xFF\xDB", 10), false),
              "\xEF\xBF\xBDi\xEF\xBF\xBDz\xEF\xBF\xBD");
    EXPECT_EQ(decoded(std::string_view("a\0b", 3), false), "a\xEF\xBF\xBD");
}
