#include "install/engine/replay_uninstall_log.h"

#include <windows.h>

#include "common/files/read_only.h"
#include "common/gbk/gbk_search.h"
#include "common/uninstall_log/log_removal.h"

namespace engine {

void ReplayUninstallLog(const std::string& logPath, registry::View view) {
  if (const std::size_t inf = gbk::FindLast(logPath, ".inf"); inf != gbk::npos) {
    files::DeleteFileAlways(logPath.substr(0, inf) + ".exe");
  }
  std::optional<std::string> text = uninstall_log::ReadWholeLog(logPath);
  if (!text) return;
  // The log goes only once what it lists is gone, so that a replay ended part-way can be
  // run again.
  uninstall_log::CarryOutSections(*text, uninstall_log::RootRule::kExactName, view,
                                  [&logPath](int) { files::DeleteFileAlways(logPath); });
}

}  // namespace engine
