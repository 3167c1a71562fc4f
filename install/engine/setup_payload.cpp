#include "install/engine/setup_payload.h"

#include "common/gbk/gbk_search.h"
#include "product/product_facts.h"

namespace engine {

std::unique_ptr<SetupPayload> SetupPayload::HandedOver(bool& damaged) {
  damaged = false;
  HANDLE file = single_setup::TakeHandedOverPayload();
  if (file == nullptr) return nullptr;
  std::unique_ptr<SetupPayload> payload(new SetupPayload(file));
  const std::optional<std::vector<medium::PayloadEntry>> entries =
      payload->file_.Valid() && payload->payload_.Locate() ? payload->payload_.Entries() : std::nullopt;
  if (!entries) {
    damaged = true;
    return nullptr;
  }
  for (const medium::PayloadEntry& entry : *entries) payload->entries_.emplace(gbk::FoldAsciiLetters(entry.name), entry);
  return payload;
}

SetupPayload::CopyResult SetupPayload::CopyProductFile(const std::string& line, const std::string& destination) const {
  const auto found = entries_.find(gbk::FoldAsciiLetters(product::kDataFolder + line));
  if (found == entries_.end()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return CopyResult::kFailed;
  }
  single_setup::ExtractResult extracted = single_setup::ExtractResult::kDone;
  const bool written = platform::FillInstalledFileGbk(destination, [&](HANDLE output) {
    extracted = payload_.Extract(found->second, output);
    return extracted == single_setup::ExtractResult::kDone;
  });
  if (extracted == single_setup::ExtractResult::kDamaged) return CopyResult::kDamaged;
  return written ? CopyResult::kCopied : CopyResult::kFailed;
}

}  // namespace engine
