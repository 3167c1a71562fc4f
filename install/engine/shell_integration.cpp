#include "install/engine/shell_integration.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <optional>

#include "common/files/whole_file.h"
#include "common/registry/product_keys.h"
#include "common/uninstall_log/log_reader.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "install/engine/adnote.h"
#include "install/engine/install_tree.h"
#include "product/product_facts.h"

namespace engine {

using app::CreatedDirs;
using app::ProductTitle;
using app::TargetDir;

namespace {

constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A folder path from the Shell Folders key; nothing when the value is missing or longer
// than a path, so that no shortcut is ever saved into an undefined folder.
std::optional<std::string> ReadShellFolder(HKEY shellFolders, const char* valueName) {
  char buffer[MAX_PATH];
  DWORD size = sizeof buffer;
  if (RegQueryValueExA(shellFolders, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::string folder(buffer, size);
  folder.resize(folder.find('\0') == std::string::npos ? folder.size() : folder.find('\0'));
  return folder;
}

class ShellLinkWriter {
 public:
  ShellLinkWriter() {
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(&link_));
    if (link_ != nullptr) link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_));
  }
  ~ShellLinkWriter() {
    if (file_ != nullptr) file_->Release();
    if (link_ != nullptr) link_->Release();
  }
  bool Usable() const { return link_ != nullptr && file_ != nullptr; }

  // One shortcut; its record is written whether or not the save succeeded.
  void Save(InstallLog& log, const std::string& folder, const char* fileName, const std::string& target,
            const char* description) {
    link_->SetPath(target.c_str());
    link_->SetDescription(description);
    const std::string linkPath = folder + fileName;
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, nullptr, 0);
    if (wideLength > 0) {
      std::wstring widePath(static_cast<size_t>(wideLength), L'\0');
      MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath.data(), wideLength);
      file_->Save(widePath.c_str(), TRUE);
    }
    log.Record(linkPath);
  }

 private:
  IShellLinkA* link_ = nullptr;
  IPersistFile* file_ = nullptr;
};

void SetStringValue(HKEY key, const char* name, const std::string& data) {
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
}

void SetDwordValue(HKEY key, const char* name, DWORD data) {
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

}  // namespace

void CreateInstallTree() {
  for (const std::string& folder : InstallTreeFolders()) {
    const std::string path = TargetDir + "\\" + folder;
    CreateDirectoryA(path.c_str(), nullptr);
    CreatedDirs.push_back(path);
  }
}

void CreateShortcuts(InstallLog& log, const std::string& uninstallerPath) {
  const DWORD major = app::OsVersion.dwMajorVersion;
  if (major < 4) return;
  const bool allUsers = major >= 5;
  HKEY shellFolders = nullptr;
  if (RegOpenKeyA(allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kShellFoldersKey, &shellFolders) !=
      ERROR_SUCCESS) {
    return;
  }
  const std::optional<std::string> programs = ReadShellFolder(shellFolders, allUsers ? "Common Programs" : "Programs");
  std::string programGroup;
  if (programs) {
    programGroup = *programs + "\\" + ProductTitle;
    CreateDirectoryA(programGroup.c_str(), nullptr);
    CreatedDirs.push_back(programGroup);
  }
  CoInitialize(nullptr);
  {
    ShellLinkWriter links;
    if (links.Usable()) {
      const std::string mainProgram = TargetDir + "\\" + product::kMainProgram;
      if (programs) {
        links.Save(log, programGroup, app::kMainShortcut, mainProgram, app::kMainShortcutText);
        links.Save(log, programGroup, app::kHelpShortcut, TargetDir + "\\" + product::kHelpFile,
                   app::kHelpShortcutText);
        links.Save(log, programGroup, app::kHomePageShortcut, product::kHomePageAddress, app::kHomePageShortcutText);
        links.Save(log, programGroup, app::kUninstallShortcut, uninstallerPath, app::kUninstallShortcutText);
      }
      if (auto desktop = ReadShellFolder(shellFolders, allUsers ? "Common Desktop" : "Desktop")) {
        links.Save(log, *desktop, app::kMainShortcut, mainProgram, app::kMainShortcutText);
      }
    }
  }
  CoUninitialize();
  RegCloseKey(shellFolders);
}

void WriteSettingsValue() {
  const auto start =
      files::ReadWholeFile(app::SourceDir + product::kSetupSettingsFile, FILE_SHARE_READ, engine::kAdnoteWindowBytes);
  if (!start) return;
  const std::optional<std::string> value = engine::ExtractAdnote(*start);
  if (!value) return;
  WritePrivateProfileStringA(product::kSettingsSection, product::kSettingsKey, value->c_str(),
                             (TargetDir + "\\" + product::kSettingsFile).c_str());
}

void WriteRunValue(InstallLog& log) {
  HKEY run = nullptr;
  if (registry::CreateKey(HKEY_LOCAL_MACHINE, product::kRunKey, registry::kProductLineView, &run) != ERROR_SUCCESS) {
    return;
  }
  // Quoted: an unquoted path with blanks would let a planted C:\Program.exe run at log-on.
  SetStringValue(run, product::kRunValueName, "\"" + TargetDir + "\\" + product::kReviewMonitorProgram + "\"");
  log.Record(
      uninstall_log::ValueRecord(uninstall_log::RegistryRoot::kLocalMachine, product::kRunKey, product::kRunValueName));
  RegCloseKey(run);
}

void WriteUninstallEntry(InstallLog& log, const std::string& uninstallerPath, unsigned long long productBytes) {
  const std::string keyName = std::string(product::kUninstallKeyPrefix) + ProductTitle;
  HKEY entry = nullptr;
  if (registry::CreateKey(HKEY_LOCAL_MACHINE, keyName.c_str(), registry::kProductLineView, &entry) != ERROR_SUCCESS) {
    return;
  }
  SetStringValue(entry, "DisplayName", ProductTitle);
  // Kept unquoted: later installers find the old folder by cutting it before "\uninstall.exe".
  SetStringValue(entry, "UninstallString", uninstallerPath);
  SetStringValue(entry, "DisplayIcon", TargetDir + "\\" + product::kMainProgram);
  // What Windows' list of programs and deployment systems read besides.
  SetStringValue(entry, "DisplayVersion",
                 std::to_string(app::ProductVersion / 10) + "." + std::to_string(app::ProductVersion % 10));
  SetStringValue(entry, "Publisher", product::kPublisher);
  SetStringValue(entry, "InstallLocation", TargetDir);
  SetDwordValue(entry, "EstimatedSize", static_cast<DWORD>((productBytes + 1023) / 1024));
  SetDwordValue(entry, "NoModify", 1);
  SetDwordValue(entry, "NoRepair", 1);
  // Quoted: deployment systems run it as it stands.
  SetStringValue(entry, "QuietUninstallString", "\"" + uninstallerPath + "\" " + product::kUnattendedSwitch);
  log.Record(uninstall_log::KeyRecord(uninstall_log::RegistryRoot::kLocalMachine, keyName));
  RegCloseKey(entry);
}

}  // namespace engine
