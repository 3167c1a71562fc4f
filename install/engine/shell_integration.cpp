#include "install/engine/shell_integration.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <optional>

#include "common/platform/files.h"
#include "common/platform/registry.h"
#include "common/platform/shell.h"
#include "common/registry_view/product_line_view.h"
#include "common/uninstall_log/log_reader.h"
#include "resources/installer_texts.h"
#include "common/medium/adnote.h"
#include "common/medium/install_tree.h"
#include "product/product_facts.h"

namespace engine {

using product::ProductTitle;

namespace {

constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A folder path from the Shell Folders key; nothing when the value is missing or longer
// than a path, so that no shortcut is ever saved into an undefined folder.
std::optional<std::string> ReadShellFolder(HKEY shellFolders, const char* valueName) {
  return platform::RegQueryStringGbk(shellFolders, valueName, MAX_PATH);
}

// One shortcut; its record is written whether or not the save succeeded.
void SaveShortcut(platform::ShellLinkGbk& links, UninstallLogFile& log, const std::string& folder, const char* fileName,
                  const std::string& target, const char* description) {
  const std::string linkPath = folder + fileName;
  links.Save(linkPath, target, description);
  log.Record(linkPath);
}

}  // namespace

void CreateInstallTree(InstallerState& state) {
  for (const std::string& folder : medium::InstallTreeFolders()) {
    const std::string path = state.TargetDir + "\\" + folder;
    platform::CreateInstalledFolderGbk(path);
    state.CreatedDirs.push_back(path);
  }
}

void CreateShortcuts(InstallerState& state, UninstallLogFile& log, const std::string& uninstallerPath) {
  const DWORD major = state.OsVersion.dwMajorVersion;
  if (major < 4) return;
  const bool allUsers = major >= 5;
  HKEY shellFolders = nullptr;
  if (platform::RegOpenKeyExGbk(allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kShellFoldersKey, KEY_QUERY_VALUE,
                                &shellFolders) != ERROR_SUCCESS) {
    return;
  }
  const std::optional<std::string> programs = ReadShellFolder(shellFolders, allUsers ? "Common Programs" : "Programs");
  std::string programGroup;
  if (programs) {
    programGroup = *programs + "\\" + ProductTitle;
    platform::CreateInstalledFolderGbk(programGroup);
    state.CreatedDirs.push_back(programGroup);
  }
  CoInitialize(nullptr);
  {
    platform::ShellLinkGbk links;
    if (links.Usable()) {
      const std::string mainProgram = state.TargetDir + "\\" + product::kMainProgram;
      if (programs) {
        SaveShortcut(links, log, programGroup, texts::kMainShortcut, mainProgram, texts::kMainShortcutText);
        SaveShortcut(links, log, programGroup, texts::kHelpShortcut, state.TargetDir + "\\" + product::kHelpFile,
                     texts::kHelpShortcutText);
        SaveShortcut(links, log, programGroup, texts::kHomePageShortcut, product::kHomePageAddress,
                     texts::kHomePageShortcutText);
        SaveShortcut(links, log, programGroup, texts::kUninstallShortcut, uninstallerPath,
                     texts::kUninstallShortcutText);
      }
      if (auto desktop = ReadShellFolder(shellFolders, allUsers ? "Common Desktop" : "Desktop")) {
        SaveShortcut(links, log, *desktop, texts::kMainShortcut, mainProgram, texts::kMainShortcutText);
      }
    }
  }
  CoUninitialize();
  RegCloseKey(shellFolders);
}

void WriteSettingsValue(const InstallerState& state) {
  const auto start = platform::ReadWholeFile(state.SourceDir + product::kSetupSettingsFile, FILE_SHARE_READ,
                                             medium::kAdnoteWindowBytes);
  if (!start) return;
  const std::optional<std::string> value = medium::ExtractAdnote(*start);
  if (!value) return;
  // Written here rather than by the profile functions, which would write a new file in the
  // system's code page and lose the Chinese of the value on other Windows.
  const std::string settingsPath = state.TargetDir + "\\" + product::kSettingsFile;
  const std::string text = medium::WithProfileValue(platform::ReadWholeFile(settingsPath).value_or(""),
                                                    product::kSettingsSection, product::kSettingsKey, *value);
  platform::WriteInstalledFile(settingsPath, text);
}

void WriteRunValue(const InstallerState& state, UninstallLogFile& log) {
  HKEY run = nullptr;
  if (registry_view::CreateKey(HKEY_LOCAL_MACHINE, product::kRunKey, registry_view::kProductLineView, &run) !=
      ERROR_SUCCESS) {
    return;
  }
  // Quoted: an unquoted path with blanks would let a planted C:\Program.exe run at log-on.
  platform::RegSetStringGbk(run, product::kRunValueName,
                            "\"" + state.TargetDir + "\\" + product::kReviewMonitorProgram + "\"");
  log.Record(
      uninstall_log::ValueRecord(uninstall_log::RegistryRoot::kLocalMachine, product::kRunKey, product::kRunValueName));
  RegCloseKey(run);
}

void WriteUninstallEntry(const InstallerState& state, UninstallLogFile& log, const std::string& uninstallerPath,
                         unsigned long long productBytes) {
  const std::string keyName = std::string(product::kUninstallKeyPrefix) + ProductTitle;
  HKEY entry = nullptr;
  if (registry_view::CreateKey(HKEY_LOCAL_MACHINE, keyName.c_str(), registry_view::kProductLineView, &entry) !=
      ERROR_SUCCESS) {
    return;
  }
  platform::RegSetStringGbk(entry, "DisplayName", ProductTitle);
  // Kept unquoted: later installers find the old folder by cutting it before "\uninstall.exe".
  platform::RegSetStringGbk(entry, "UninstallString", uninstallerPath);
  platform::RegSetStringGbk(entry, "DisplayIcon", state.TargetDir + "\\" + product::kMainProgram);
  // What Windows' list of programs and deployment systems read besides.
  platform::RegSetStringGbk(entry, "DisplayVersion", product::VersionText(product::ProductVersion));
  platform::RegSetStringGbk(entry, "Publisher", product::kPublisher);
  platform::RegSetStringGbk(entry, "InstallLocation", state.TargetDir);
  platform::RegSetDwordGbk(entry, "EstimatedSize", static_cast<DWORD>((productBytes + 1023) / 1024));
  platform::RegSetDwordGbk(entry, "NoModify", 1);
  platform::RegSetDwordGbk(entry, "NoRepair", 1);
  // Quoted: deployment systems run it as it stands.
  platform::RegSetStringGbk(entry, "QuietUninstallString", "\"" + uninstallerPath + "\" " + product::kUnattendedSwitch);
  log.Record(uninstall_log::KeyRecord(uninstall_log::RegistryRoot::kLocalMachine, keyName));
  RegCloseKey(entry);
}

}  // namespace engine
