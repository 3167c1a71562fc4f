#include "install/app/installer_app.h"

#include <cstdio>
#include <optional>
#include <string>

#include "common/gbk/gbk_search.h"
#include "common/registry/product_keys.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "install/engine/replay_uninstall_log.h"
#include "product/product_facts.h"
#include "product/product_windows.h"

namespace app {

namespace {

// The root of the drive that holds Windows, with its backslash (C:\).
std::string SystemDriveRoot() {
  char windows[MAX_PATH] = "";
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string windowsDir(windows);
  if (const std::size_t drive = gbk::Find(windowsDir, ":\\"); drive != gbk::npos) {
    return windowsDir.substr(0, drive + 2);
  }
  // A Windows folder without a drive part: the system drive, or C: when even that is unset.
  char systemDrive[MAX_PATH] = "";
  const DWORD length = GetEnvironmentVariableA("SystemDrive", systemDrive, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "C:\\";
  return std::string(systemDrive) + "\\";
}

// The registered uninstall command of an installed version: nothing when the value is
// missing or does not fit in 600 bytes.
std::optional<std::string> ReadUninstallString(HKEY entry) {
  char value[600];
  DWORD size = sizeof value;
  if (RegQueryValueExA(entry, "UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::string text(value, size);
  return text.substr(0, text.find('\0'));
}

}  // namespace

void InstallerApp::Run() {
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  const std::string programPath(module);
  SourceDir = programPath.substr(0, gbk::FindLastBackslash(programPath) + 1);

  OsVersion.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  GetVersionExA(&OsVersion);

  if (product::MainProgramIsRunning()) {
    const std::string message = std::string(kStopProductBeforeInstall) + ProductTitle + kStopProductBeforeInstallEnd;
    product::ShowStopProductMessage(message.c_str(), WizardCaption);
    return;
  }
  if (!product::CloseReviewMonitor()) {
    product::ShowStopProductMessage(kStopMonitorBeforeInstall, WizardCaption);
    return;
  }
  if (!RemoveEarlierVersion()) return;
  CreateDefaultFolder();

  if (RunWizard() == 0) {
    // Folders that start-up or the pages made and nothing else removed; not-empty ones stay.
    for (auto folder = CreatedDirs.rbegin(); folder != CreatedDirs.rend(); ++folder) {
      RemoveDirectoryA(folder->c_str());
    }
  }
}

bool InstallerApp::RemoveEarlierVersion() {
  // Versions 1.3 down to 1.0, each first where the line's 32-bit kits registered it, then
  // in the 64-bit view; the first key that opens ends the search.
  for (int n = ProductVersion - 10; n >= 0; --n) {
    char keyName[128];
    std::snprintf(keyName, sizeof keyName, "%sQuendral%d.%d", product::kUninstallKeyPrefix, n / 10 + 1, n % 10);
    HKEY entry = nullptr;
    registry::View foundIn = registry::View::k32Bit;
    if (registry::OpenKey(HKEY_LOCAL_MACHINE, keyName, foundIn, KEY_QUERY_VALUE, &entry) != ERROR_SUCCESS) {
      foundIn = registry::View::k64Bit;
      if (registry::OpenKey(HKEY_LOCAL_MACHINE, keyName, foundIn, KEY_QUERY_VALUE, &entry) != ERROR_SUCCESS) continue;
    }
    const std::optional<std::string> command = ReadUninstallString(entry);
    if (command) {
      if (MessageBoxA(nullptr, kRemoveEarlierVersionQuestion, WizardCaption, kQuestionBox) == IDNO) {
        RegCloseKey(entry);
        return false;
      }
      if (const std::size_t cut = gbk::Find(*command, "\\uninstall.exe"); cut != gbk::npos) {
        engine::ReplayUninstallLog(command->substr(0, cut) + "\\" + product::kUninstallLogFile, foundIn);
      }
    }
    RegCloseKey(entry);
    return true;
  }
  return true;
}

void InstallerApp::CreateDefaultFolder() {
  std::string folder = SystemDriveRoot() + "Program Files\\Morvessa";
  if (CreateDirectoryA(folder.c_str(), nullptr)) CreatedDirs.push_back(folder);
  folder += "\\Quendral";
  if (CreateDirectoryA(folder.c_str(), nullptr)) CreatedDirs.push_back(folder);
  TargetDir = folder;
}

}  // namespace app
