// The install steps that tie the product into the system besides its files. None of them
// shows a message or stops the install; a failure only skips what depends on it.
#pragma once

#include <string>

#include "install/engine/uninstall_log_file.h"
#include "install/engine/installer_state.h"

namespace engine {

// The 18 empty folders of the product under TargetDir, each added to CreatedDirs.
void CreateInstallTree(InstallerState& state);

// The Start-menu group with four shortcuts and the desktop shortcut, by Windows version:
// the all-users folders from 5 on, the user's own on 4, nothing below.
void CreateShortcuts(InstallerState& state, UninstallLogFile& log, const std::string& uninstallerPath);

// [main] adnote of the product's settings file, from install.ini on the medium.
void WriteSettingsValue(const InstallerState& state);

// The review monitor's auto-start value under HKEY_LOCAL_MACHINE.
void WriteRunValue(const InstallerState& state, UninstallLogFile& log);

// The product's entry in the list of installed programs.
void WriteUninstallEntry(const InstallerState& state, UninstallLogFile& log, const std::string& uninstallerPath,
                         unsigned long long productBytes);

}  // namespace engine
