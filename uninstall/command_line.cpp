#include "uninstall/command_line.h"

#include "common/gbk/gbk_search.h"

namespace command_line {

std::string_view ArgumentAfterProgramName(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  std::size_t pos = 0;
  auto byteAt = [&line](std::size_t i) { return static_cast<unsigned char>(line[i]); };
  if (!line.empty() && line[0] == '"') {
    pos = 1;
    while (pos < line.size() && line[pos] != '"') {
      pos += gbk::IsLeadByte(byteAt(pos)) && pos + 1 < line.size() ? 2 : 1;
    }
    if (pos < line.size()) ++pos;  // the closing quote
  } else {
    while (pos < line.size() && byteAt(pos) > 0x20) ++pos;
  }
  while (pos < line.size() && byteAt(pos) >= 0x01 && byteAt(pos) <= 0x20) ++pos;
  return line.substr(pos);
}

}  // namespace command_line
