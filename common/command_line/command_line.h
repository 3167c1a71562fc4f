// A program's command-line argument: everything after the program's own name, by the rule
// the uninstaller has always used; the installer uses it too.
#pragma once

#include <string_view>

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

}  // namespace command_line
