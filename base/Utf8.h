#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The program's one UTF-8 codec. Decoding never reads past the text. A byte that does not start a
// well-formed sequence (a stray continuation byte, a sequence cut short, an overlong form, a surrogate,
// a value above U+10FFFF) becomes one U+FFFD, and decoding goes on with the next byte. Encoding writes
// U+FFFD for a value that is not a Unicode scalar value.

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Any code point except the surrogates, up to U+10FFFF.
bool IsUnicodeScalar(char32_t code);

// The code point at text[position]; position moves past it (one byte for a malformed sequence).
// position must be below text.size().
char32_t DecodeUtf8(std::string_view text, std::size_t& position);
// Decodes the whole text onto the end of out. Mostly-ASCII text takes a fast path.
void AppendUtf8ToWide(std::wstring& out, std::string_view text);

// Appends the code point's UTF-8 bytes.
void AppendUtf8(std::string& out, char32_t code);

// Decodes UTF-16 bytes (no byte-order mark) of the given order onto the end of out as UTF-8. A surrogate
// that is not part of a pair, and an odd byte at the end, each become one U+FFFD; the unit after an
// unpaired surrogate is decoded on its own, so no character is lost to it.
void AppendUtf16AsUtf8(std::string& out, std::string_view bytes, bool bigEndian);
