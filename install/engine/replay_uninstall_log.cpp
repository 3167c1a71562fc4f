#include "install/engine/replay_uninstall_log.h"

#include <windows.h>

#include "common/gbk/gbk_search.h"
#include "common/uninstall_log/log_removal.h"

namespace engine {

void ReplayUninstallLog(const std::string& logPath, registry::View view) {
  if (const std::size_t inf = gbk::FindLast(logPath, ".inf"); inf != gbk::npos) {
    DeleteFileA((logPath.substr(0, inf) + ".exe").c_str());
  }
  std::optional<std::string> text = uninstall_log::ReadWholeLog(logPath);
  if (!text) return;
  DeleteFileA(logPath.c_str());
  uninstall_log::CarryOutSections(*text, uninstall_log::RootRule::kExactName, view);
}

}  // namespace engine
