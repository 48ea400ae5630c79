#include "base/Common.h"

#include "base/Utf8.h"

#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <random>

namespace {

// Random numbers ------------------------------------------------------------------------------------------

std::mutex g_randomMutex;
std::mt19937 g_random;

// A float in [0, 1) from the top 24 bits of one draw.
float NextUnitFloat()
{
    std::lock_guard lock(g_randomMutex);
    return static_cast<float>(g_random() >> 8) * (1.0f / 16777216.0f);
}

// Formatting ----------------------------------------------------------------------------------------------

// Widths and precisions come from data files: a huge one must not exhaust memory.
constexpr int kMaxFieldWidth = 1024;

struct Field
{
    std::string flags;
    int width = -1;
    int precision = -1;
    wchar_t conversion = 0;
    bool leftAlign = false;
};

bool IsFlag(wchar_t c)
{
    return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0';
}

bool IsLengthModifier(wchar_t c)
{
    return c == L'h' || c == L'l' || c == L'L' || c == L'q' || c == L'j' || c == L'z' || c == L't' ||
           c == L'I';
}

bool IsConversion(wchar_t c)
{
    return std::wstring_view(L"diuxXocCsSfFeEgG").find(c) != std::wstring_view::npos;
}

std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

// printf of one number, through a format we build ourselves, so the argument always matches it.
template <typename T>
std::wstring FormatNumber(const Field& field, const char* length, char conversion, T value)
{
    std::string format(1, '%');
    format += field.flags;
    if (field.width >= 0) {
        format += std::to_string(field.width);
    }
    if (field.precision >= 0) {
        format += '.';
        format += std::to_string(field.precision);
    }
    format += length;
    format += conversion;
    int size = std::snprintf(nullptr, 0, format.c_str(), value);
    if (size <= 0) {
        return {};
    }
    std::string buffer(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(buffer.data(), buffer.size(), format.c_str(), value);
    buffer.resize(static_cast<size_t>(size));
    return Widen(buffer);
}

std::wstring Pad(std::wstring text, const Field& field)
{
    if (field.width > 0 && text.size() < static_cast<size_t>(field.width)) {
        size_t fill = static_cast<size_t>(field.width) - text.size();
        text = field.leftAlign ? text + std::wstring(fill, L' ') : std::wstring(fill, L' ') + text;
    }
    return text;
}

std::wstring FormatText(std::wstring text, const Field& field)
{
    if (field.precision >= 0 && text.size() > static_cast<size_t>(field.precision)) {
        text.resize(static_cast<size_t>(field.precision));
    }
    return Pad(std::move(text), field);
}

int64_t SaturatingInt64(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 9.2233720368547758e18) {
        return INT64_MAX;
    }
    if (value <= -9.2233720368547758e18) {
        return INT64_MIN;
    }
    return static_cast<int64_t>(value);
}

std::wstring FormatConversion(const Field& field, const FormatArg& arg)
{
    switch (field.conversion) {
    case L'd':
    case L'i':
        if (!arg.IsNumber() && arg.GetKind() != FormatArg::Kind::Char) {
            return FormatText(arg.AsText(), field);
        }
        return FormatNumber(field, "ll", 'd', static_cast<long long>(arg.AsInt()));
    case L'u':
    case L'x':
    case L'X':
    case L'o':
        if (!arg.IsNumber() && arg.GetKind() != FormatArg::Kind::Char) {
            return FormatText(arg.AsText(), field);
        }
        return FormatNumber(field, "ll", static_cast<char>(field.conversion),
                            static_cast<unsigned long long>(arg.AsUnsigned()));
    case L'f':
    case L'F':
    case L'e':
    case L'E':
    case L'g':
    case L'G':
        if (!arg.IsNumber() && arg.GetKind() != FormatArg::Kind::Char) {
            return FormatText(arg.AsText(), field);
        }
        return FormatNumber(field, "", static_cast<char>(field.conversion), arg.AsDouble());
    case L'c':
    case L'C':
        if (arg.GetKind() == FormatArg::Kind::Double || arg.GetKind() == FormatArg::Kind::WideText ||
            arg.GetKind() == FormatArg::Kind::NarrowText) {
            return Pad(arg.AsText(), field);
        } else {
            char32_t c = arg.AsChar();
            return Pad(c == 0 ? std::wstring() : std::wstring(1, static_cast<wchar_t>(c)), field);
        }
    default: // 's', 'S'
        return FormatText(arg.AsText(), field);
    }
}

// Reads a width or precision: digits, or '*' taking the next argument.
int ReadField(std::wstring_view format, size_t& i, const FormatArg* args, size_t count, size_t& next)
{
    if (i < format.size() && format[i] == L'*') {
        ++i;
        if (next >= count) {
            return 0;
        }
        const FormatArg& arg = args[next++];
        int64_t value = arg.IsNumber() ? arg.AsInt() : 0;
        return static_cast<int>(std::clamp<int64_t>(value, -kMaxFieldWidth, kMaxFieldWidth));
    }
    int value = 0;
    while (i < format.size() && format[i] >= L'0' && format[i] <= L'9') {
        value = std::min(value * 10 + static_cast<int>(format[i] - L'0'), kMaxFieldWidth);
        ++i;
    }
    return value;
}

} // namespace

// Random numbers ------------------------------------------------------------------------------------------

void SeedRandom(uint32_t seed)
{
    std::lock_guard lock(g_randomMutex);
    g_random.seed(seed);
}

int Rand(int n)
{
    if (n <= 0) {
        return 0;
    }
    std::lock_guard lock(g_randomMutex);
    return std::uniform_int_distribution<int>(0, n - 1)(g_random);
}

int RandRange(int min, int max)
{
    int64_t span = static_cast<int64_t>(max) - min;
    return min + Rand(static_cast<int>(std::min<int64_t>(span, INT_MAX)));
}

float RandFloatRange(float min, float max)
{
    return min + (max - min) * NextUnitFloat();
}

double RandDouble(double max)
{
    if (max == 0) {
        return max;
    }
    float limit = static_cast<float>(max);
    float value = limit * NextUnitFloat();
    // Rounding to float may reach the limit itself, which is excluded.
    if (std::fabs(value) >= std::fabs(limit)) {
        value = std::nextafter(limit, 0.0f);
    }
    return static_cast<double>(value);
}

// Formatting ----------------------------------------------------------------------------------------------

int64_t FormatArg::AsInt() const
{
    switch (m_kind) {
    case Kind::Int:
        return m_int;
    case Kind::Unsigned:
        return static_cast<int64_t>(m_unsigned);
    case Kind::Double:
        return SaturatingInt64(m_double);
    case Kind::Char:
        return static_cast<int64_t>(m_char);
    default:
        return 0;
    }
}

uint64_t FormatArg::AsUnsigned() const
{
    // A negative int prints as its 32-bit pattern, as C prints an int with %x.
    if (m_kind == Kind::Int && m_int < 0 && m_int >= INT32_MIN) {
        return static_cast<uint32_t>(static_cast<int32_t>(m_int));
    }
    return static_cast<uint64_t>(AsInt());
}

double FormatArg::AsDouble() const
{
    switch (m_kind) {
    case Kind::Double:
        return m_double;
    case Kind::Unsigned:
        return static_cast<double>(m_unsigned);
    default:
        return static_cast<double>(AsInt());
    }
}

char32_t FormatArg::AsChar() const
{
    int64_t code = AsInt();
    if (code < 0 || code > 0x10FFFF || !IsUnicodeScalar(static_cast<char32_t>(code))) {
        return kReplacementCharacter;
    }
    return static_cast<char32_t>(code);
}

std::wstring FormatArg::AsText() const
{
    switch (m_kind) {
    case Kind::Int:
        return std::to_wstring(m_int);
    case Kind::Unsigned:
        return std::to_wstring(m_unsigned);
    case Kind::Double: {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%g", m_double);
        return Widen(buffer);
    }
    case Kind::Char: {
        char32_t c = AsChar();
        return c == 0 ? std::wstring() : std::wstring(1, static_cast<wchar_t>(c));
    }
    case Kind::WideText:
        return std::wstring(m_wide);
    case Kind::NarrowText:
        return StringToWString(std::string(m_narrow));
    }
    return {};
}

std::wstring FormatWideList(std::wstring_view format, std::initializer_list<FormatArg> argList)
{
    const FormatArg* args = argList.begin();
    size_t count = argList.size();
    size_t next = 0;
    std::wstring out;
    size_t i = 0;
    while (i < format.size()) {
        wchar_t c = format[i];
        if (c != L'%') {
            out += c;
            ++i;
            continue;
        }
        size_t start = i++;
        if (i < format.size() && format[i] == L'%') {
            out += L'%';
            ++i;
            continue;
        }
        Field field;
        while (i < format.size() && IsFlag(format[i])) {
            if (field.flags.find(static_cast<char>(format[i])) == std::string::npos) {
                field.flags += static_cast<char>(format[i]);
            }
            ++i;
        }
        if (i < format.size() && (format[i] == L'*' || (format[i] >= L'0' && format[i] <= L'9'))) {
            field.width = ReadField(format, i, args, count, next);
            if (field.width < 0) {
                field.width = -field.width;
                field.flags += '-';
            }
        }
        if (i < format.size() && format[i] == L'.') {
            ++i;
            field.precision = ReadField(format, i, args, count, next);
            if (field.precision < 0) {
                field.precision = -1;
            }
        }
        while (i < format.size() && IsLengthModifier(format[i])) {
            ++i;
            // Windows' I64 and I32 size prefixes.
            if (format[i - 1] == L'I') {
                while (i < format.size() &&
                       (format[i] == L'6' || format[i] == L'4' || format[i] == L'3' || format[i] == L'2')) {
                    ++i;
                }
            }
        }
        if (i >= format.size() || !IsConversion(format[i])) {
            // Not a conversion we know: the text stands as written.
            size_t end = std::min(i + 1, format.size());
            out.append(format.substr(start, end - start));
            i = end;
            continue;
        }
        field.conversion = format[i++];
        field.leftAlign = field.flags.find('-') != std::string::npos;
        if (next < count) {
            out += FormatConversion(field, args[next++]);
        }
    }
    return out;
}

// Parsing -------------------------------------------------------------------------------------------------

bool StringToInt(const std::wstring& text, int& value)
{
    value = 0;
    if (text.empty()) {
        return false;
    }
    size_t i = 0;
    bool negative = false;
    if (text[0] == L'-') {
        negative = true;
        i = 1;
    }
    int base = 10;
    if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : INT_MAX;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        int digit;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (base == 16 && c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else if (base == 16 && c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        } else {
            break;
        }
        magnitude = std::min(magnitude * base + digit, limit);
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

float ParseFloatW(const std::wstring& text)
{
    // Data files always use '.', whatever locale a library may have set.
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    double value = wcstod_l(text.c_str(), nullptr, cLocale);
    if (!std::isfinite(value)) {
        return 0.0f;
    }
    if (value > FLT_MAX) {
        return FLT_MAX;
    }
    if (value < -FLT_MAX) {
        return -FLT_MAX;
    }
    return static_cast<float>(value);
}

// Conversion ----------------------------------------------------------------------------------------------

std::string WStringToString(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        AppendUtf8(out, static_cast<char32_t>(c));
    }
    return out;
}

std::wstring StringToWString(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    AppendUtf8ToWide(out, text);
    return out;
}

std::string WStringToUtf16LE(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size() * 2);
    auto unit = [&out](uint32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    for (wchar_t w : text) {
        uint32_t c = static_cast<uint32_t>(w);
        if (!IsUnicodeScalar(c)) {
            c = kReplacementCharacter;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            unit(0xD800 | (c >> 10));
            unit(0xDC00 | (c & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out;
}

std::size_t Utf16Length(std::wstring_view text)
{
    std::size_t units = text.size();
    for (wchar_t w : text) {
        const auto c = static_cast<uint32_t>(w);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            ++units;
        }
    }
    return units;
}

std::vector<std::wstring> SplitString(const std::wstring& text, const std::wstring& separator)
{
    std::vector<std::wstring> pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    size_t start = 0;
    for (size_t found; (found = text.find(separator, start)) != std::wstring::npos;
         start = found + separator.size()) {
        pieces.push_back(text.substr(start, found - start));
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

namespace {

template <typename String> String ReplaceAllOf(const String& text, const String& from, const String& to)
{
    if (from.empty()) {
        return text;
    }
    String out;
    size_t start = 0;
    for (size_t found; (found = text.find(from, start)) != String::npos; start = found + from.size()) {
        out.append(text, start, found - start);
        out += to;
    }
    out.append(text, start, String::npos);
    return out;
}

} // namespace

std::wstring ReplaceAll(const std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    return ReplaceAllOf(text, from, to);
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to)
{
    return ReplaceAllOf(text, from, to);
}

// Files and folders ---------------------------------------------------------------------------------------

std::string GetFileDir(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::wstring GetFileDir(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool MakeDirectories(const std::string& path)
{
    std::string normal = ReplaceAll(path, std::string("\\"), std::string("/"));
    for (size_t end = 0; end != std::string::npos;) {
        end = normal.find('/', end + 1);
        std::string level = normal.substr(0, end);
        if (level.empty() || level.back() == '/') {
            continue;
        }
        if (mkdir(level.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
    }
    struct stat info = {};
    return normal.empty() || (stat(normal.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
}

void GrantEveryoneAccess(const std::string&) {}
