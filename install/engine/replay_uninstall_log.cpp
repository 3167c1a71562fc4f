#include "install/engine/replay_uninstall_log.h"

#include <windows.h>

#include "common/platform/files.h"
#include "common/gbk/gbk_search.h"
#include "common/uninstall_log/log_removal.h"

namespace engine {

void ReplayUninstallLog(const std::string& logPath, uninstall_log::HeldFiles held, registry_view::View view,
                        const std::string& entryKey) {
  if (const std::size_t inf = gbk::FindLast(logPath, ".inf"); inf != gbk::npos) {
    platform::DeleteFileAlways(logPath.substr(0, inf) + ".exe");
  }
  // The log goes only once what it lists is gone, so that a replay ended part-way can be
  // run again.
  if (std::optional<std::string> text = uninstall_log::ReadWholeLog(logPath)) {
    uninstall_log::CarryOutSections(logPath, *text, uninstall_log::RootRule::kExactName, view, held, {}, entryKey);
  }
  if (!entryKey.empty()) registry_view::DeleteKey(HKEY_LOCAL_MACHINE, entryKey.c_str(), view);
}

}  // namespace engine
