#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// Random numbers: one Mersenne twister for the whole program, seeded at start-up.
void SeedRandom(uint32_t seed);
// A random integer in [0, n); 0 when n is 0 or less.
int Rand(int n);
// min + Rand(max - min): max is excluded.
int RandRange(int min, int max);
// A random float from min to max.
float RandFloatRange(float min, float max);
// A random value in [0, max), computed in float; max itself when max is 0.
double RandDouble(double max);

namespace format_detail {
template <typename T>
concept Character = std::is_same_v<T, char> || std::is_same_v<T, wchar_t> || std::is_same_v<T, char16_t> ||
    std::is_same_v<T, char32_t>;
template <typename T>
concept Boolean = std::is_same_v<T, bool>;
template <typename T>
concept SignedNumber = std::is_integral_v<T> && std::is_signed_v<T> && !Character<T>;
template <typename T>
concept UnsignedNumber = std::is_integral_v<T> && std::is_unsigned_v<T> && !Character<T> && !Boolean<T>;
template <typename T>
concept Enumeration = std::is_enum_v<T>;
} // namespace format_detail

// One argument of StrFormatW/StrFormat. Formats come from data files, so each conversion is checked
// against the argument it meets: a mismatch prints the argument in its own form, never garbage.
class FormatArg
{
public:
    enum class Kind
    {
        Int,
        Unsigned,
        Double,
        WideText,
        NarrowText,
        Char
    };

    template <format_detail::SignedNumber T> FormatArg(T value) : m_kind(Kind::Int), m_int(value) {}
    template <format_detail::UnsignedNumber T> FormatArg(T value) : m_kind(Kind::Unsigned), m_unsigned(value)
    {
    }
    template <format_detail::Enumeration T>
    FormatArg(T value) : m_kind(Kind::Int), m_int(static_cast<int64_t>(value))
    {
    }
    template <format_detail::Boolean T> FormatArg(T value) : m_kind(Kind::Int), m_int(value ? 1 : 0) {}
    // Any other pointer would otherwise print as a bool.
    template <typename T> FormatArg(T* pointer) = delete;
    FormatArg(std::nullptr_t) = delete;
    FormatArg(double value) : m_kind(Kind::Double), m_double(value) {}
    FormatArg(float value) : m_kind(Kind::Double), m_double(value) {}
    FormatArg(char value) : m_kind(Kind::Char), m_char(static_cast<unsigned char>(value)) {}
    FormatArg(wchar_t value) : m_kind(Kind::Char), m_char(static_cast<char32_t>(value)) {}
    FormatArg(char16_t value) : m_kind(Kind::Char), m_char(value) {}
    FormatArg(char32_t value) : m_kind(Kind::Char), m_char(value) {}
    FormatArg(const wchar_t* text) : m_kind(Kind::WideText), m_wide(text ? text : L"(null)") {}
    FormatArg(const std::wstring& text) : m_kind(Kind::WideText), m_wide(text) {}
    FormatArg(std::wstring_view text) : m_kind(Kind::WideText), m_wide(text) {}
    FormatArg(const char* text) : m_kind(Kind::NarrowText), m_narrow(text ? text : "(null)") {}
    FormatArg(const std::string& text) : m_kind(Kind::NarrowText), m_narrow(text) {}
    FormatArg(std::string_view text) : m_kind(Kind::NarrowText), m_narrow(text) {}

    Kind GetKind() const { return m_kind; }
    int64_t AsInt() const;
    uint64_t AsUnsigned() const;
    double AsDouble() const;
    // The argument as text: texts as they are, numbers in decimal, a char as itself.
    std::wstring AsText() const;
    char32_t AsChar() const;
    bool IsNumber() const
    {
        return m_kind == Kind::Int || m_kind == Kind::Unsigned || m_kind == Kind::Double;
    }

private:
    Kind m_kind = Kind::Int;
    int64_t m_int = 0;
    uint64_t m_unsigned = 0;
    double m_double = 0;
    char32_t m_char = 0;
    std::wstring_view m_wide;
    std::string_view m_narrow;
};

// printf-style formatting with our own checked formatter: %d %i %u %x %X %o %c %s %f %e %g %%, with the
// flags "-+ #0", a width and a precision (numbers or '*'); length modifiers (l, ll, h, z, ...) are accepted
// and ignored. A conversion without an argument prints nothing; an unknown conversion prints as written.
std::wstring FormatWideList(std::wstring_view format, std::initializer_list<FormatArg> args);

template <typename... Args> std::wstring StrFormatW(std::wstring_view format, const Args&... args)
{
    return FormatWideList(format, {FormatArg(args)...});
}

// The narrow form: UTF-8 format and result; narrow text arguments are UTF-8.
template <typename... Args> std::string StrFormat(std::string_view format, const Args&... args);

// Parsing. StringToInt: the int is set to 0 first; empty text gives false; a leading '-' negates; a "0x" or
// "0X" prefix reads hexadecimal; the scan stops at the first other character and keeps what it read (true).
// Values beyond the int range saturate at INT_MAX or INT_MIN.
bool StringToInt(const std::wstring& text, int& value);
// Leading white space, a sign, decimals and exponents as in C; text that does not start with a number
// reads 0; values beyond the float range saturate; "nan" and "inf" read 0.
float ParseFloatW(const std::wstring& text);

// UTF-8 <-> wide text. Invalid sequences become U+FFFD.
std::string WStringToString(const std::wstring& text);
std::wstring StringToWString(const std::string& text);
// UTF-16 little-endian bytes of the text, without a byte-order mark.
std::string WStringToUtf16LE(const std::wstring& text);
// How many UTF-16 units WStringToUtf16LE writes for the text: two for a character past U+FFFF.
std::size_t Utf16Length(std::wstring_view text);

// The pieces of text between the separator's occurrences (an empty separator gives the whole text).
std::vector<std::wstring> SplitString(const std::wstring& text, const std::wstring& separator);
// Every occurrence of from replaced by to.
std::wstring ReplaceAll(const std::wstring& text, const std::wstring& from, const std::wstring& to);
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to);

// The part of a path before its last '\' or '/' (empty when there is none).
std::string GetFileDir(const std::string& path);
std::wstring GetFileDir(const std::wstring& path);
// Creates every missing folder of the path ('\' or '/' separated). False when a folder could not be made.
bool MakeDirectories(const std::string& path);
// The user owns the files they make, so nothing needs granting.
void GrantEveryoneAccess(const std::string& path);

template <typename... Args> std::string StrFormat(std::string_view format, const Args&... args)
{
    return WStringToString(FormatWideList(StringToWString(std::string(format)), {FormatArg(args)...}));
}
