#include "common/command_line/command_line.h"

#include "common/gbk/gbk_search.h"

namespace command_line {

namespace {

unsigned char ByteAt(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

unsigned char FoldAsciiCase(unsigned char byte) { return byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte; }

// The length of `path` when `line` starts with it followed by a blank or the end, else 0.
// Double-byte characters compare exactly, so a trail byte is never folded as a letter.
std::size_t UnquotedPathLength(std::string_view line, std::string_view path) {
  if (path.empty() || line.size() < path.size()) return 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (gbk::IsLeadByte(ByteAt(path, i)) && i + 1 < path.size()) {
      if (line[i] != path[i] || line[i + 1] != path[i + 1]) return 0;
      ++i;
    } else if (FoldAsciiCase(ByteAt(line, i)) != FoldAsciiCase(ByteAt(path, i))) {
      return 0;
    }
  }
  return line.size() == path.size() || ByteAt(line, path.size()) <= 0x20 ? path.size() : 0;
}

// The end of the program name by the quote-or-blank rule.
std::size_t EndOfProgramName(std::string_view line) {
  if (line.empty() || line[0] != '"') {
    std::size_t pos = 0;
    while (pos < line.size() && ByteAt(line, pos) > 0x20) ++pos;
    return pos;
  }
  std::size_t pos = 1;
  while (pos < line.size() && line[pos] != '"') {
    pos += gbk::IsLeadByte(ByteAt(line, pos)) && pos + 1 < line.size() ? 2 : 1;
  }
  return pos < line.size() ? pos + 1 : pos;  // past the closing quote
}

}  // namespace

std::string_view ArgumentAfterProgramName(std::string_view line, std::string_view ownPath) {
  line = line.substr(0, line.find('\0'));
  std::size_t pos = UnquotedPathLength(line, ownPath);
  if (pos == 0) pos = EndOfProgramName(line);
  while (pos < line.size() && ByteAt(line, pos) >= 0x01 && ByteAt(line, pos) <= 0x20) ++pos;
  return line.substr(pos);
}

}  // namespace command_line
