// Big5 (code page 950) text: the encoding of every text the game shows or stores.
// A double-byte character is a lead byte 0x81-0xFE followed by a trail byte 0x40-0x7E or
// 0xA1-0xFE. Trail bytes include letters, '\\' and '|', so any byte-wise scan of Big5 text
// must step whole characters with these helpers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr bool IsBig5Lead(uint8_t c) { return c >= 0x81 && c <= 0xFE; }
constexpr bool IsBig5Trail(uint8_t c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0xA1 && c <= 0xFE);
}

// Bytes taken by the character starting at s[pos]: 2 for a lead byte followed by a trail byte,
// else 1 (a stray lead byte stands alone); 0 at or past the end.
size_t Big5CharSize(std::string_view s, size_t pos);

// Start of the character before the one at `pos` (0 stays 0). Scans from the start, since a
// trail byte cannot be told from a lead byte by looking backwards.
size_t Big5PrevChar(std::string_view s, size_t pos);

// The longest prefix of s, at most maxBytes long, that does not split a double-byte character.
size_t Big5FitLength(std::string_view s, size_t maxBytes);

// ASCII letters lowered, double-byte characters left untouched.
std::string Big5ToLower(std::string_view s);

// Unicode of one double-byte code (lead << 8 | trail); 0 when CP950 has no character there.
char32_t Big5CodeToUcs(uint16_t code);

// Conversions through CP950. Bytes that do not form a character become U+FFFD; a character
// that Big5 cannot encode becomes `replacement` (0 drops it).
std::u32string Big5ToUcs(std::string_view big5);
std::string Big5ToUtf8(std::string_view big5);
std::string Utf8ToBig5(std::string_view utf8, char replacement = '?');
