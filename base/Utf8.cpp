#include "base/Utf8.h"

#include <cstdint>
#include <cstring>

bool IsUnicodeScalar(char32_t code)
{
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

char32_t DecodeUtf8(std::string_view text, std::size_t& position)
{
    auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(position);
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead >= 0xF5 || text.size() - position < static_cast<std::size_t>(length)) {
        ++position;
        return kReplacementCharacter;
    }
    char32_t code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(position + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++position;
            return kReplacementCharacter;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    // Overlong forms and surrogates are not UTF-8.
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || !IsUnicodeScalar(code)) {
        ++position;
        return kReplacementCharacter;
    }
    position += static_cast<std::size_t>(length);
    return code;
}

void AppendUtf8ToWide(std::wstring& out, std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = text.size();
    // Nearly all text is ASCII: find how much, eight bytes at a time, and widen it in one simple loop.
    std::size_t ascii = 0;
    while (ascii + 8 <= length) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + ascii, 8);
        if (word & 0x8080808080808080ull) {
            break;
        }
        ascii += 8;
    }
    while (ascii < length && bytes[ascii] < 0x80) {
        ++ascii;
    }
    const std::size_t start = out.size();
    out.resize(start + ascii);
    wchar_t* widened = out.data() + start;
    for (std::size_t k = 0; k < ascii; ++k) {
        widened[k] = static_cast<wchar_t>(bytes[k]);
    }
    for (std::size_t position = ascii; position < length;) {
        out.push_back(static_cast<wchar_t>(DecodeUtf8(text, position)));
    }
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (!IsUnicodeScalar(code)) {
        code = kReplacementCharacter;
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendUtf16AsUtf8(std::string& out, std::string_view bytes, bool bigEndian)
{
    const std::size_t units = bytes.size() / 2;
    auto unit = [bytes, bigEndian](std::size_t at) {
        const auto first = static_cast<unsigned char>(bytes[2 * at]);
        const auto second = static_cast<unsigned char>(bytes[2 * at + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    out.reserve(out.size() + bytes.size());
    for (std::size_t at = 0; at < units; ++at) {
        const char32_t code = unit(at);
        if (code < 0xD800 || code > 0xDFFF) {
            AppendUtf8(out, code);
        } else if (code <= 0xDBFF && at + 1 < units && unit(at + 1) >= 0xDC00 && unit(at + 1) <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((code - 0xD800) << 10) + (unit(at + 1) - 0xDC00));
            ++at;
        } else {
            AppendUtf8(out, kReplacementCharacter);
        }
    }
    if (bytes.size() % 2 != 0) {
        AppendUtf8(out, kReplacementCharacter);
    }
}
