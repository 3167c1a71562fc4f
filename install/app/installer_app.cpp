#include "install/app/installer_app.h"

#include <cstdio>
#include <optional>
#include <string>

#include "common/gbk/gbk_search.h"
#include "common/registry/product_keys.h"
#include "common/single_setup/setup_lock.h"
#include "install/app/diagnostic_log.h"
#include "install/app/install_options.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "install/engine/replay_uninstall_log.h"
#include "install/pages/destination_page.h"
#include "install/pages/free_space_root.h"
#include "product/product_facts.h"
#include "product/product_windows.h"
#include "common/platform/files.h"
#include "common/platform/process.h"
#include "common/platform/registry.h"
#include "common/platform/user_interface.h"

namespace app {

namespace {

// The root of the drive that holds Windows, with its backslash (C:\).
std::string SystemDriveRoot() {
  const std::string windowsDir = platform::WindowsDirectoryGbk();
  if (const std::size_t drive = gbk::Find(windowsDir, ":\\"); drive != gbk::npos) {
    return windowsDir.substr(0, drive + 2);
  }
  // A Windows folder without a drive part: the system drive, or C: when even that is unset.
  const std::optional<std::string> systemDrive = platform::GetEnvironmentVariableGbk("SystemDrive");
  if (!systemDrive || systemDrive->empty() || systemDrive->size() >= MAX_PATH) return "C:\\";
  return *systemDrive + "\\";
}

// The registered uninstall command of an installed version: nothing when the value is
// missing or does not fit in 600 bytes.
std::optional<std::string> ReadUninstallString(HKEY entry) {
  constexpr std::size_t kBufferBytes = 600;
  return platform::RegQueryStringGbk(entry, "UninstallString", kBufferBytes);
}

}  // namespace

ExitCode InstallerApp::Run(std::string_view arguments, bool argumentsAreGbk) {
  const InstallOptions options = ParseInstallOptions(arguments);
  Unattended = options.unattended;
  if (!argumentsAreGbk) return Refuse(std::string(arguments));
  if (!options.invalidArgument.empty()) return Refuse(options.invalidArgument);
  // Before anything changes, the diagnostic log included: it may be the running setup's.
  single_setup::SetupLock lock;
  if (!lock.Take()) {
    if (!Unattended) platform::MessageBoxGbk(nullptr, kAnotherSetupRunningText, WizardCaption, kErrorBox);
    return kAnotherSetupRunning;
  }
  if (!options.logPath.empty() && !OpenDiagnosticLog(options.logPath)) return Refuse("/LOG=" + options.logPath);

  // The medium's folder is kept in GBK, in the log too: one GBK cannot name is refused.
  const std::optional<std::string> programPath = platform::ModuleFileNameGbk();
  if (!programPath) {
    if (!Unattended) platform::MessageBoxGbk(nullptr, kInvalidFolder, WizardCaption, kErrorBox);
    return End(kFailedRolledBack);
  }
  SourceDir = programPath->substr(0, gbk::FindLastBackslash(*programPath) + 1);

  OsVersion.dwOSVersionInfoSize = sizeof OsVersion;
  GetVersionExW(&OsVersion);
  Diagnose("command line: " + std::string(arguments));
  Diagnose("Windows " + std::to_string(OsVersion.dwMajorVersion) + "." + std::to_string(OsVersion.dwMinorVersion) +
           " build " + std::to_string(OsVersion.dwBuildNumber));
  Diagnose("SourceDir: " + SourceDir);

  if (product::MainProgramIsRunning()) {
    Diagnose("the product's window is open");
    const std::string message = std::string(kStopProductBeforeInstall) + ProductTitle + kStopProductBeforeInstallEnd;
    if (!Unattended) product::ShowStopProductMessage(message.c_str(), WizardCaption);
    return End(kProductRunning);
  }
  int requests = 0;
  const bool monitorClosed = product::CloseReviewMonitor(&requests);
  Diagnose("close requests to the review monitor: " + std::to_string(requests) +
           (monitorClosed ? "" : "; its window is still open"));
  if (!monitorClosed) {
    if (!Unattended) product::ShowStopProductMessage(kStopMonitorBeforeInstall, WizardCaption);
    return End(kMonitorRunning);
  }
  if (!RemoveEarlierVersion()) return End(kEarlierVersionKept);
  if (options.targetDir.empty()) {
    CreateDefaultFolder();
  } else {
    CreateTargetFolders(options.targetDir);
  }
  Diagnose("TargetDir: " + TargetDir);

  bool installed = false;
  if (!Unattended) {
    installed = RunWizard() == 1;
  } else if (!pages::HasRoomForInstall(TargetDir)) {
    Diagnose("less than 16 MiB free on the drive of " + TargetDir);
    RemoveCreatedFolders();
    return End(kNoRoom);
  } else {
    installed = RunUnattendedInstall() == 1;
  }
  // Folders that start-up or the pages made and nothing else removed; not-empty ones stay.
  if (!installed) RemoveCreatedFolders();
  return End(installed ? kInstalled : InstallFailed ? kFailedRolledBack : kCancelled);
}

ExitCode InstallerApp::Refuse(const std::string& argument) {
  if (!Unattended) platform::MessageBoxGbk(nullptr, kInvalidArgument + argument, WizardCaption, kErrorBox);
  return kInvalidCommandLine;
}

ExitCode InstallerApp::End(ExitCode code) {
  Diagnose("exit code " + std::to_string(code));
  return code;
}

void InstallerApp::RemoveCreatedFolders() {
  for (auto folder = CreatedDirs.rbegin(); folder != CreatedDirs.rend(); ++folder) {
    platform::RemoveDirectoryGbk(*folder);
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
    RegCloseKey(entry);
    Diagnose(std::string("installed version found: ") + keyName +
             (foundIn == registry::View::k32Bit ? " (32-bit view)" : " (64-bit view)") +
             (command ? ", UninstallString " + *command : ", no readable UninstallString"));
    if (command) {
      // Unattended, Yes is the answer: the question's default.
      if (!Unattended &&
          platform::MessageBoxGbk(nullptr, kRemoveEarlierVersionQuestion, WizardCaption, kQuestionBox) == IDNO) {
        Diagnose("the user keeps the installed version");
        return false;
      }
      if (const std::size_t cut = gbk::Find(*command, "\\uninstall.exe"); cut != gbk::npos) {
        const std::string logPath = command->substr(0, cut) + "\\" + product::kUninstallLogFile;
        Diagnose("removing it by its log " + logPath);
        engine::ReplayUninstallLog(logPath, uninstall_log::HeldFiles::kDeleteAtRestart, foundIn, keyName);
      }
    }
    return true;
  }
  return true;
}

void InstallerApp::CreateAndRecord(const std::string& folder) {
  if (!platform::CreateInstalledFolderGbk(folder)) return;
  CreatedDirs.push_back(folder);
  Diagnose("folder created: " + folder);
}

void InstallerApp::CreateDefaultFolder() {
  std::string folder = SystemDriveRoot() + "Program Files\\Morvessa";
  CreateAndRecord(folder);
  folder += "\\Quendral";
  CreateAndRecord(folder);
  TargetDir = folder;
}

void InstallerApp::CreateTargetFolders(const std::string& folder) {
  // Each parent below the drive or share root, then the folder itself; a separator that
  // is a GBK trail byte is none.
  const std::size_t rootLength = pages::FreeSpaceRoot(folder).value_or("").size();
  for (std::size_t separator = gbk::Find(folder, "\\", rootLength); separator != gbk::npos;
       separator = gbk::Find(folder, "\\", separator + 1)) {
    CreateAndRecord(folder.substr(0, separator));
  }
  CreateAndRecord(folder);
  TargetDir = folder;
}

}  // namespace app
