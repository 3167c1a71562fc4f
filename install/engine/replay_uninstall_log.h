#pragma once

#include <string>

#include "common/registry/product_keys.h"

namespace engine {

// Removes what an uninstall log lists: first the uninstall.exe beside the log (the path
// before its last ".inf", plus ".exe"), then the log itself, then its files, registry
// entries and folders. Only exactly "HKEY_CURRENT_USER" selects that root; records under
// HKEY_LOCAL_MACHINE are carried out in `view`, where the log's version keeps its keys.
// Silent.
void ReplayUninstallLog(const std::string& logPath, registry::View view = registry::kProductLineView);

}  // namespace engine
