// The single-file setup's reading of its own file: locating the payload and its entries.
#include "common/medium/payload_format.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = fuzz::Bytes(data, size);
  medium::PayloadHeader header;
  // The input is taken as a payload too, so that entries are reached without a program.
  const std::string_view payload = medium::LocatePayload(file, header).value_or(file);
  fuzz::Require(payload.data() >= file.data() && payload.data() + payload.size() <= file.data() + file.size(),
                "the payload lies in the file");
  medium::PayloadEntries entries(payload);
  while (const auto entry = entries.Next()) {
    fuzz::Require(medium::IsSafeRelativeName(entry->name), "every name stays inside the folder");
    fuzz::Require(entry->storedOffset <= payload.size() && entry->storedBytes <= payload.size() - entry->storedOffset,
                  "the stored bytes lie in the payload");
  }
  return 0;
}
