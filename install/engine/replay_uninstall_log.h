#pragma once

#include <string>

namespace engine {

// Removes what an uninstall log lists: first the uninstall.exe beside the log (the path
// before its last ".inf", plus ".exe"), then the log itself, then its files, registry
// entries and folders. Only exactly "HKEY_CURRENT_USER" selects that root. Silent.
void ReplayUninstallLog(const std::string& logPath);

}  // namespace engine
