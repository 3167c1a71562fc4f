#include "setup/unpack.h"

#include <windows.h>

#include "common/platform/files.h"
#include "common/platform/gbk_text.h"
#include "common/platform/private_folder.h"
#include "product/product_facts.h"

namespace setup {

namespace {

UnpackResult WriteFailure() {
  return GetLastError() == ERROR_DISK_FULL ? UnpackResult::kDiskFull : UnpackResult::kWriteFailed;
}

// Makes each folder on the way to `name` (relative, "\" between folders) that is not there yet.
bool MakeFolders(const std::wstring& folder, const std::wstring& name) {
  for (std::size_t end = name.find(L'\\'); end != std::wstring::npos; end = name.find(L'\\', end + 1)) {
    const std::wstring path = folder + name.substr(0, end);
    if (platform::GetFileAttributesWide(path) == INVALID_FILE_ATTRIBUTES && !platform::CreateDirectoryWide(path)) {
      return false;
    }
  }
  return true;
}

UnpackResult WriteEntry(const single_setup::PayloadFile& payload, const medium::PayloadEntry& entry,
                        const std::wstring& folder) {
  const std::optional<std::wstring> name = platform::WideFromGbk(entry.name);
  if (!name) return UnpackResult::kDamaged;
  if (!MakeFolders(folder, *name)) return WriteFailure();
  HANDLE file = platform::CreateNewFileWide(folder + *name);
  if (file == INVALID_HANDLE_VALUE) return WriteFailure();
  const single_setup::ExtractResult extracted = payload.Extract(entry, file);
  const UnpackResult result = extracted == single_setup::ExtractResult::kDamaged ? UnpackResult::kDamaged
                              : extracted == single_setup::ExtractResult::kWriteFailed ? WriteFailure()
                                                                                       : UnpackResult::kDone;
  if (!CloseHandle(file) && result == UnpackResult::kDone) return WriteFailure();
  return result;
}

bool IsProductFile(const medium::PayloadEntry& entry) {
  return entry.name.compare(0, std::string(product::kDataFolder).size(), product::kDataFolder) == 0;
}

// The kit's files the setup writes: the payload's own top folder, a handful of names.
std::vector<std::wstring> KitFileNames(const std::vector<medium::PayloadEntry>& entries) {
  std::vector<std::wstring> names;
  for (const medium::PayloadEntry& entry : entries) {
    const std::optional<std::wstring> name = platform::WideFromGbk(entry.name);
    if (!IsProductFile(entry) && name) names.push_back(*name);
  }
  return names;
}

}  // namespace

UnpackResult CheckAndUnpack(const single_setup::PayloadFile& payload, std::optional<std::wstring>& folder,
                            std::atomic<std::uint64_t>& readBytes) {
  if (!payload.Check(readBytes)) return UnpackResult::kDamaged;
  const std::optional<std::vector<medium::PayloadEntry>> entries = payload.Entries();
  if (!entries) return UnpackResult::kDamaged;
  // They and the folder go at the next restart at the latest, should the setup be ended
  // before it removes them itself.
  folder = platform::CreatePrivateTempFolder(KitFileNames(*entries));
  if (!folder) return UnpackResult::kWriteFailed;
  for (const medium::PayloadEntry& entry : *entries) {
    if (IsProductFile(entry)) continue;  // copied by the installer, from the payload
    const UnpackResult written = WriteEntry(payload, entry, *folder);
    if (written != UnpackResult::kDone) return written;
  }
  return UnpackResult::kDone;
}

}  // namespace setup
