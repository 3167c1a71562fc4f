// The manifest's splitting and line rules on any text.
#include "common/medium/manifest_rules.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::Bytes(data, size);
  const std::vector<std::string_view> lines = medium::ManifestLines(text);
  fuzz::Require(!lines.empty() && lines.size() <= static_cast<size_t>(medium::kMaxLines), "1 to 1000 lines");
  for (const std::string_view line : lines) {
    fuzz::Require(line.size() <= static_cast<size_t>(medium::kMaxLineBytes), "at most 255 bytes a line");
    fuzz::Require(line.data() >= text.data() && line.data() + line.size() <= text.data() + text.size(),
                  "every line lies in the text");
    fuzz::Require(line.find("\r\n") == std::string_view::npos && line.find('\0') == std::string_view::npos,
                  "no line holds a break or a NUL");
    const bool ends = medium::EndsList(line);
    fuzz::Require(!ends || line.empty() || line == "*****", "only an empty line or ***** ends the list");
    fuzz::Require(!medium::IsLoggedNotCopied(line) || line.find(".ini", 1) != std::string::npos,
                  "only names with .ini after byte 0");
  }
  return 0;
}
