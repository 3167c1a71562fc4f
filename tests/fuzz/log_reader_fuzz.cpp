// The uninstall-log reading rules and registry-record splitting, with both root rules.
#include <cstring>

#include "common/uninstall_log/log_reader.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text = fuzz::Bytes(data, size);
  const size_t end = std::strlen(text.c_str());
  int previous = 0;
  uninstall_log::ForEachRecord(text.data(), [&](uninstall_log::Section section, char* line) {
    fuzz::Require(section >= previous && section <= uninstall_log::kFoldersSection, "sections only grow, up to 2");
    previous = section;
    fuzz::Require(line >= text.data() && line < text.data() + end, "a line lies inside the text");
    fuzz::Require(*line != '\0' && std::strchr(line, '\r') == nullptr, "a record is non-empty and holds no CR");
    for (auto rule : {uninstall_log::RootRule::kExactName, uninstall_log::RootRule::kLeadingPart}) {
      std::string copy = line;
      const auto record = uninstall_log::SplitRegistryRecord(copy.data(), rule);
      fuzz::Require(record.key != nullptr, "every record names a key");
      if (record.valueName != nullptr) {
        fuzz::Require(std::strchr(record.key, ',') == nullptr, "a key path never holds a comma");
      }
    }
  });
  return 0;
}
