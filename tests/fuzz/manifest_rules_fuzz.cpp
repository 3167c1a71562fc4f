// The manifest line rules on any line of up to 255 bytes.
#include "install/engine/manifest_rules.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line = fuzz::Bytes(data, size > engine::kMaxLineBytes ? engine::kMaxLineBytes : size);
  const bool ends = engine::EndsList(line);
  const bool onlyLogged = engine::IsLoggedNotCopied(line);
  fuzz::Require(!ends || line.empty() || line == "*****", "only an empty line or ***** ends the list");
  fuzz::Require(!onlyLogged || line.find(".ini", 1) != std::string::npos, "only names with .ini after byte 0");
  fuzz::Require(engine::ConsideredLineCount(static_cast<int>(size)) <= engine::kMaxLines, "at most 1000 lines");
  return 0;
}
