#include "common/command_line/command_line.h"

namespace command_line {

namespace {

unsigned char ByteAt(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

// The length of `path` when `line` starts with it followed by a blank or the end, else 0.
// Double-byte characters compare exactly, so a trail byte is never folded as a letter.
std::size_t UnquotedPathLength(std::string_view line, std::string_view path) {
  if (path.empty() || line.size() < path.size()) return 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (gbk::IsLeadByte(ByteAt(path, i)) && i + 1 < path.size()) {
      if (line[i] != path[i] || line[i + 1] != path[i + 1]) return 0;
      ++i;
    } else if (gbk::FoldAsciiCase(ByteAt(line, i)) != gbk::FoldAsciiCase(ByteAt(path, i))) {
      return 0;
    }
  }
  return line.size() == path.size() || ByteAt(line, path.size()) <= 0x20 ? path.size() : 0;
}

}  // namespace

std::string_view ArgumentAfterProgramName(std::string_view line, std::string_view ownPath) {
  line = line.substr(0, line.find('\0'));
  return ArgumentAfterName(line, UnquotedPathLength(line, ownPath));
}

}  // namespace command_line
