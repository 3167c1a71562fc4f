#include "common/gbk/gbk_search.h"

namespace gbk {
namespace {

// Width of the character that starts at `pos`: 2 for a lead byte with a byte after it.
std::size_t CharWidth(std::string_view text, std::size_t pos) {
  return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

}  // namespace

std::size_t Find(std::string_view text, std::string_view needle, std::size_t from) {
  for (std::size_t pos = 0; pos < text.size(); pos += CharWidth(text, pos)) {
    if (pos >= from && text.compare(pos, needle.size(), needle) == 0 && pos + needle.size() <= text.size()) {
      return pos;
    }
  }
  return needle.empty() && from <= text.size() ? text.size() : npos;
}

std::size_t FindLast(std::string_view text, std::string_view needle) {
  std::size_t found = npos;
  for (std::size_t pos = 0; pos < text.size(); pos += CharWidth(text, pos)) {
    if (text.compare(pos, needle.size(), needle) == 0 && pos + needle.size() <= text.size()) {
      found = pos;
    }
  }
  return found;
}

std::size_t FindLastBackslash(std::string_view text) { return FindLast(text, "\\"); }

std::string FoldAsciiLetters(std::string_view text) {
  std::string folded(text);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(folded[i]);
    if (IsLeadByte(byte)) {
      ++i;  // its trail byte is no letter
    } else {
      folded[i] = static_cast<char>(FoldAsciiCase(byte));
    }
  }
  return folded;
}

}  // namespace gbk
