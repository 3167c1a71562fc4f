// The uninstaller's command-line rule.
#include "tests/fuzz/fuzz_input.h"
#include "common/command_line/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line = fuzz::Bytes(data, size);
  const std::string_view argument = command_line::ArgumentAfterProgramName(line);
  const std::string_view text(line.c_str());  // the command line ends at its NUL
  fuzz::Require(argument.size() <= text.size(), "the argument is part of the line");
  fuzz::Require(text.substr(text.size() - argument.size()) == argument, "the argument is the line's tail");
  if (!argument.empty()) {
    const auto first = static_cast<unsigned char>(argument[0]);
    fuzz::Require(first > 0x20, "blanks after the program name are passed over");
  }
  return 0;
}
