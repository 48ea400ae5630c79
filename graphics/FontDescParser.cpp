#include "graphics/FontDescParser.h"

#include <charconv>
#include <sstream>

namespace {

constexpr int kMaxPages = 64;
constexpr int kMaxGlyphSide = 4096;
// Line heights, offsets, advances and kerning stay within this, so the font's sums never overflow.
constexpr int kMaxMetric = 4096;

bool WithinMetric(int value)
{
    return value >= -kMaxMetric && value <= kMaxMetric;
}

// Splits "tag key=value key="quoted value"" into the tag and its pairs.
bool SplitLine(const std::string& line, std::string& tag, std::map<std::string, std::string>& pairs)
{
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
    };
    skipBlanks();
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
        ++i;
    tag = line.substr(start, i - start);
    for (;;) {
        skipBlanks();
        if (i >= line.size())
            return true;
        std::size_t keyStart = i;
        while (i < line.size() && line[i] != '=' && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i >= line.size() || line[i] != '=')
            return false;
        std::string key = line.substr(keyStart, i - keyStart);
        ++i;
        std::string value;
        if (i < line.size() && line[i] == '"') {
            std::size_t close = line.find('"', i + 1);
            if (close == std::string::npos)
                return false;
            value = line.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            std::size_t valueStart = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                ++i;
            value = line.substr(valueStart, i - valueStart);
        }
        if (key.empty())
            return false;
        pairs[key] = value;
    }
}

bool ReadInt(const std::map<std::string, std::string>& pairs, const char* key, int& out)
{
    auto found = pairs.find(key);
    if (found == pairs.end())
        return true;
    const std::string& text = found->second;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

bool FontDescParser::Fail(const std::string& reason, int line)
{
    m_errorText = reason + " on Line " + std::to_string(line);
    return false;
}

bool FontDescParser::Parse(const std::string& text, FontDescriptor& descriptor)
{
    descriptor = FontDescriptor{};
    m_errorText.clear();
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    bool sawCommon = false;
    while (std::getline(lines, line)) {
        ++number;
        std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#')
            continue;
        std::string tag;
        std::map<std::string, std::string> pairs;
        if (!SplitLine(line, tag, pairs))
            return Fail("Malformed pair", number);
        if (tag == "common") {
            if (!ReadInt(pairs, "lineHeight", descriptor.lineHeight) ||
                !ReadInt(pairs, "base", descriptor.base) ||
                !ReadInt(pairs, "ascentPadding", descriptor.ascentPadding))
                return Fail("Bad number", number);
            if (descriptor.lineHeight <= 0 || descriptor.lineHeight > kMaxMetric || descriptor.base < 0 ||
                descriptor.base > descriptor.lineHeight * 4 || !WithinMetric(descriptor.ascentPadding))
                return Fail("Bad line height or base", number);
            sawCommon = true;
        } else if (tag == "page") {
            int id = -1;
            if (!ReadInt(pairs, "id", id) || id < 0 || id >= kMaxPages || pairs.count("file") == 0 ||
                pairs["file"].empty())
                return Fail("Bad page", number);
            if (descriptor.pages.size() <= static_cast<std::size_t>(id))
                descriptor.pages.resize(static_cast<std::size_t>(id) + 1);
            descriptor.pages[static_cast<std::size_t>(id)] = pairs["file"];
        } else if (tag == "char") {
            int id = -1;
            FontGlyph glyph;
            if (!ReadInt(pairs, "id", id) || !ReadInt(pairs, "x", glyph.x) || !ReadInt(pairs, "y", glyph.y) ||
                !ReadInt(pairs, "width", glyph.width) || !ReadInt(pairs, "height", glyph.height) ||
                !ReadInt(pairs, "xoffset", glyph.xOffset) || !ReadInt(pairs, "yoffset", glyph.yOffset) ||
                !ReadInt(pairs, "xadvance", glyph.advance) || !ReadInt(pairs, "page", glyph.page))
                return Fail("Bad number", number);
            if (id < 0 || id > 0x10FFFF || glyph.x < 0 || glyph.y < 0 || glyph.width < 0 ||
                glyph.height < 0 || glyph.width > kMaxGlyphSide || glyph.height > kMaxGlyphSide ||
                glyph.page < 0 || glyph.page >= kMaxPages || !WithinMetric(glyph.xOffset) ||
                !WithinMetric(glyph.yOffset) || !WithinMetric(glyph.advance))
                return Fail("Bad glyph", number);
            descriptor.glyphs[static_cast<char32_t>(id)] = glyph;
        } else if (tag == "kerning") {
            int first = -1;
            int second = -1;
            int amount = 0;
            if (!ReadInt(pairs, "first", first) || !ReadInt(pairs, "second", second) ||
                !ReadInt(pairs, "amount", amount) || first < 0 || second < 0 || !WithinMetric(amount))
                return Fail("Bad kerning", number);
            descriptor.kerning[{static_cast<char32_t>(first), static_cast<char32_t>(second)}] = amount;
        }
        // Other tags ("info", "chars", "kernings") carry nothing we use.
    }
    if (!sawCommon)
        return Fail("Missing common line", number);
    for (const auto& [id, glyph] : descriptor.glyphs) {
        if (static_cast<std::size_t>(glyph.page) >= descriptor.pages.size() ||
            descriptor.pages[static_cast<std::size_t>(glyph.page)].empty())
            return Fail("Glyph on a missing page", number);
    }
    return true;
}
