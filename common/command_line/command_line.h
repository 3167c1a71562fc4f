// A program's command-line argument: everything after the program's own name, by the rule
// the uninstaller has always used; the installer uses it too.
#pragma once

#include <string_view>
#include <type_traits>

#include "common/gbk/gbk_search.h"

namespace command_line {

// When the line begins with `ownPath` unquoted (compared as Windows compares paths, ASCII
// letters without regard to case), followed by a blank or the end, that whole path is the
// program name: Windows passes a registered, unquoted command such as
// C:\Program Files\...\uninstall.exe on verbatim. Otherwise the program name ends at its
// closing double quote when the line starts with one (a GBK lead byte inside the quotes
// takes its trail byte along), or else at the first byte of 0x20 or below. The closing
// quote and every following byte 0x01..0x20 are passed over; the rest, inner blanks
// included, is the argument.
std::string_view ArgumentAfterProgramName(std::string_view commandLine, std::string_view ownPath = {});

// The same rule over a line of either kind of text (GBK bytes or UTF-16 as Windows gives
// it), once the caller, which compares paths its own way, has found whether the line starts
// with the program's own path: `ownPathLength` is that path's length, or 0.
template <typename Char>
std::basic_string_view<Char> ArgumentAfterName(std::basic_string_view<Char> line, std::size_t ownPathLength) {
  const auto code = [&line](std::size_t i) { return static_cast<std::make_unsigned_t<Char>>(line[i]); };
  std::size_t pos = ownPathLength;
  if (pos == 0 && !line.empty() && line[0] == Char('"')) {
    // To the closing quote; in GBK a lead byte takes its trail byte along.
    for (pos = 1; pos < line.size() && line[pos] != Char('"');) {
      pos +=
          sizeof(Char) == 1 && gbk::IsLeadByte(static_cast<unsigned char>(code(pos))) && pos + 1 < line.size() ? 2 : 1;
    }
    if (pos < line.size()) ++pos;  // past the closing quote
  } else if (pos == 0) {
    while (pos < line.size() && code(pos) > 0x20) ++pos;
  }
  while (pos < line.size() && code(pos) >= 0x01 && code(pos) <= 0x20) ++pos;
  return line.substr(pos);
}

}  // namespace command_line
