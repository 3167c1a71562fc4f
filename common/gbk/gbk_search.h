// Searches inside GBK (code page 936) byte strings that never split a double-byte
// character: a trail byte 0x5C is part of its character, never a backslash.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gbk {

inline constexpr std::size_t npos = std::string_view::npos;

// A GBK lead byte starts a two-byte character when a byte follows it.
constexpr bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
// An ASCII letter in upper case, every other byte as it is: how Windows compares the ASCII
// part of names and switches. A caller walking GBK text passes a trail byte over.
constexpr unsigned char FoldAsciiCase(unsigned char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// `text` with its ASCII letters in upper case and its double-byte characters as they are:
// names that Windows takes for the same file fold alike.
std::string FoldAsciiLetters(std::string_view text);

// Position of the first occurrence of `needle` at or after `from` that starts on a
// character boundary of `text`, or npos.
std::size_t Find(std::string_view text, std::string_view needle, std::size_t from = 0);

// Position of the last occurrence of `needle` that starts on a character boundary.
std::size_t FindLast(std::string_view text, std::string_view needle);

// Position of the last backslash that is a character of its own, or npos.
std::size_t FindLastBackslash(std::string_view text);

inline bool Contains(std::string_view text, std::string_view needle) { return Find(text, needle) != npos; }

}  // namespace gbk
