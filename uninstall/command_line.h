// The uninstaller's command-line argument: everything after the program's own name.
#pragma once

#include <string_view>

namespace command_line {

// The program name ends at its closing double quote when the line starts with one (a GBK
// lead byte inside the quotes takes its trail byte along), otherwise at the first byte of
// 0x20 or below. The closing quote and every following byte 0x01..0x20 are passed over;
// the rest, inner blanks included, is the argument.
std::string_view ArgumentAfterProgramName(std::string_view commandLine);

}  // namespace command_line
