#include "common/gbk/free_space_root.h"

#include "common/gbk/gbk_search.h"

namespace gbk {

std::optional<std::string> FreeSpaceRoot(std::string_view folder) {
  if (const std::size_t drive = gbk::Find(folder, ":\\"); drive != gbk::npos) {
    return std::string(folder.substr(0, drive + 2));
  }
  if (folder.substr(0, 2) != "\\\\") return std::nullopt;
  const std::size_t serverEnd = gbk::Find(folder, "\\", 2);
  if (serverEnd == gbk::npos || serverEnd == 2) return std::nullopt;
  const std::size_t shareEnd = gbk::Find(folder, "\\", serverEnd + 1);
  if (shareEnd == serverEnd + 1) return std::nullopt;
  if (shareEnd == gbk::npos) {
    return serverEnd + 1 < folder.size() ? std::optional(std::string(folder) + "\\") : std::nullopt;
  }
  return std::string(folder.substr(0, shareEnd + 1));
}

}  // namespace gbk
