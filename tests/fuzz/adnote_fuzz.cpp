// The adnote extraction from the start of install.ini.
#include "common/medium/adnote.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = fuzz::Bytes(data, size);
  if (const auto value = medium::ExtractAdnote(file)) {
    fuzz::Require(value->size() < medium::kAdnoteWindowBytes, "the value lies in the first 64 bytes");
    fuzz::Require(value->find_first_of("\r\n") == std::string::npos, "the value is one line");
    fuzz::Require(value->find('\0') == std::string::npos, "the value ends at a NUL");
    fuzz::Require(file.substr(0, medium::kAdnoteWindowBytes).find(*value) != std::string::npos,
                  "the value is in the file");
  }
  return 0;
}
