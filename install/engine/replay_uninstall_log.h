#pragma once

#include <string>

#include "common/registry_view/product_line_view.h"
#include "common/uninstall_log/log_removal.h"

namespace engine {

// Removes what an uninstall log lists: first the uninstall.exe beside the log (the path
// before its last ".inf", plus ".exe"), then its files and registry entries, then the
// log itself, then its folders. Only exactly "HKEY_CURRENT_USER" selects that root;
// records under HKEY_LOCAL_MACHINE are carried out in `view`, where the log's version
// keeps its keys. `entryKey`, when given, is the installed-programs entry that led here:
// it goes last, log or no log, so that a replay ended part-way is found and run again by
// the next start-up. `held` says what becomes of a listed file another program holds.
// Silent.
void ReplayUninstallLog(const std::string& logPath, uninstall_log::HeldFiles held,
                        registry_view::View view = registry_view::kProductLineView, const std::string& entryKey = {});

}  // namespace engine
