#include "install/app/installer_app.h"

#include <optional>
#include <string>

#include "common/gbk/gbk_search.h"
#include "common/registry_view/product_line_view.h"
#include "common/single_setup/setup_lock.h"
#include "install/engine/diagnostic_log.h"
#include "common/command_line/install_options.h"
#include "resources/installer_texts.h"
#include "install/engine/replay_uninstall_log.h"
#include "install/pages/destination_page.h"
#include "common/gbk/free_space_root.h"
#include "product/product_facts.h"
#include "product/product_windows.h"
#include "common/platform/files.h"
#include "common/platform/process.h"
#include "common/platform/registry.h"
#include "common/platform/user_interface.h"

namespace app {

using namespace exit_codes::installer;

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
  const command_line::InstallOptions options = command_line::ParseInstallOptions(arguments);
  state_.Unattended = options.unattended;
  if (!argumentsAreGbk) return Refuse(std::string(arguments));
  if (!options.invalidArgument.empty()) return Refuse(options.invalidArgument);
  // Before anything changes, the diagnostic log included: it may be the running setup's.
  single_setup::SetupLock lock;
  if (!lock.Take()) {
    ShowError(texts::kAnotherSetupRunningText);
    return kAnotherSetupRunning;
  }
  if (!options.logPath.empty() && !engine::OpenDiagnosticLog(options.logPath))
    return Refuse(product::kLogSwitch + options.logPath);
  if (const std::optional<ExitCode> refused = CheckBeforeInstall(arguments)) return End(*refused);
  if (options.targetDir.empty()) {
    CreateDefaultFolder();
  } else {
    CreateTargetFolders(options.targetDir);
  }
  engine::Diagnose("TargetDir: " + state_.TargetDir);
  return End(Install());
}

std::optional<ExitCode> InstallerApp::CheckBeforeInstall(std::string_view arguments) {
  // The medium's folder is kept in GBK, in the log too: one GBK cannot name is refused.
  const std::optional<std::string> programPath = platform::ModuleFileNameGbk();
  if (!programPath) {
    ShowError(texts::kInvalidFolder);
    return kFailedRolledBack;
  }
  state_.SourceDir = programPath->substr(0, gbk::FindLastBackslash(*programPath) + 1);
  OSVERSIONINFOW& version = state_.OsVersion;
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExW(&version);
  engine::Diagnose("command line: " + std::string(arguments));
  engine::Diagnose("Windows " + std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
                   " build " + std::to_string(version.dwBuildNumber));
  engine::Diagnose("SourceDir: " + state_.SourceDir);
  bool payloadDamaged = false;
  payload_ = engine::SetupPayload::HandedOver(payloadDamaged);
  if (payloadDamaged) {
    ShowError(texts::kDamagedSetupText);
    return kSetupFileDamaged;
  }
  state_.Payload = payload_.get();
  if (payload_) engine::Diagnose("the product's files: from the single-file setup's own file");

  if (product::MainProgramIsRunning()) {
    engine::Diagnose("the product's window is open");
    const std::string message =
        std::string(texts::kStopProductBeforeInstall) + product::ProductTitle + texts::kStopProductBeforeInstallEnd;
    if (!state_.Unattended) product::ShowStopProductMessage(message.c_str(), product::WizardCaption);
    return kProductRunning;
  }
  int requests = 0;
  const bool monitorClosed = product::CloseReviewMonitor(&requests);
  engine::Diagnose("close requests to the review monitor: " + std::to_string(requests) +
                   (monitorClosed ? "" : "; its window is still open"));
  if (!monitorClosed) {
    if (!state_.Unattended) product::ShowStopProductMessage(texts::kStopMonitorBeforeInstall, product::WizardCaption);
    return kMonitorRunning;
  }
  if (!RemoveEarlierVersion()) return kEarlierVersionKept;
  return std::nullopt;
}

ExitCode InstallerApp::Install() {
  bool installed = false;
  if (!state_.Unattended) {
    // The finish page closed with Esc or its close box leaves a completed install: it
    // starts nothing then, but the install stands and the exit code says so.
    installed = RunWizard(state_) == 1 || state_.InstallCompleted;
  } else if (!pages::HasRoomForInstall(state_.TargetDir)) {
    engine::Diagnose("less than 16 MiB free on the drive of " + state_.TargetDir);
    RemoveCreatedFolders();
    return kNoRoom;
  } else {
    installed = RunUnattendedInstall(state_) == 1;
  }
  // Folders that start-up or the pages made and nothing else removed; not-empty ones stay.
  if (!installed) RemoveCreatedFolders();
  if (installed) return kInstalled;
  if (state_.SetupFileDamaged) return kSetupFileDamaged;
  return state_.InstallFailed ? kFailedRolledBack : kCancelled;
}

void InstallerApp::ShowError(const std::string& text) const {
  if (!state_.Unattended) platform::MessageBoxGbk(nullptr, text, product::WizardCaption, texts::kErrorBox);
}

ExitCode InstallerApp::Refuse(const std::string& argument) {
  ShowError(texts::kInvalidArgument + argument);
  return kInvalidCommandLine;
}

ExitCode InstallerApp::End(ExitCode code) {
  engine::Diagnose("exit code " + std::to_string(code));
  return code;
}

void InstallerApp::RemoveCreatedFolders() {
  for (auto folder = state_.CreatedDirs.rbegin(); folder != state_.CreatedDirs.rend(); ++folder) {
    platform::RemoveDirectoryGbk(*folder);
  }
}

bool InstallerApp::RemoveEarlierVersion() {
  // Versions 1.3 down to 1.0, each first where the line's 32-bit kits registered it, then
  // in the 64-bit view; the first key that opens ends the search.
  for (int n = product::ProductVersion - 10; n >= 0; --n) {
    const std::string keyName = std::string(product::kUninstallKeyPrefix) + "Quendral" + product::VersionText(n + 10);
    HKEY entry = nullptr;
    registry_view::View foundIn = registry_view::View::k32Bit;
    if (registry_view::OpenKey(HKEY_LOCAL_MACHINE, keyName.c_str(), foundIn, KEY_QUERY_VALUE, &entry) !=
        ERROR_SUCCESS) {
      foundIn = registry_view::View::k64Bit;
      if (registry_view::OpenKey(HKEY_LOCAL_MACHINE, keyName.c_str(), foundIn, KEY_QUERY_VALUE, &entry) !=
          ERROR_SUCCESS) {
        continue;
      }
    }
    const std::optional<std::string> command = ReadUninstallString(entry);
    RegCloseKey(entry);
    engine::Diagnose("installed version found: " + keyName +
                     (foundIn == registry_view::View::k32Bit ? " (32-bit view)" : " (64-bit view)") +
                     (command ? ", UninstallString " + *command : ", no readable UninstallString"));
    if (command) {
      // Unattended, Yes is the answer: the question's default.
      if (!state_.Unattended && platform::MessageBoxGbk(nullptr, texts::kRemoveEarlierVersionQuestion,
                                                        product::WizardCaption, texts::kQuestionBox) == IDNO) {
        engine::Diagnose("the user keeps the installed version");
        return false;
      }
      if (const std::size_t cut = gbk::Find(*command, "\\uninstall.exe"); cut != gbk::npos) {
        const std::string logPath = command->substr(0, cut) + "\\" + product::kUninstallLogFile;
        engine::Diagnose("removing it by its log " + logPath);
        engine::ReplayUninstallLog(logPath, uninstall_log::HeldFiles::kDeleteAtRestart, foundIn, keyName);
      }
    }
    return true;
  }
  return true;
}

void InstallerApp::CreateAndRecord(const std::string& folder) {
  if (!platform::CreateInstalledFolderGbk(folder)) return;
  state_.CreatedDirs.push_back(folder);
  engine::Diagnose("folder created: " + folder);
}

void InstallerApp::CreateDefaultFolder() {
  std::string folder = SystemDriveRoot() + "Program Files\\Morvessa";
  CreateAndRecord(folder);
  folder += "\\Quendral";
  CreateAndRecord(folder);
  state_.TargetDir = folder;
}

void InstallerApp::CreateTargetFolders(const std::string& folder) {
  // Each parent below the drive or share root, then the folder itself; a separator that
  // is a GBK trail byte is none.
  const std::size_t rootLength = gbk::FreeSpaceRoot(folder).value_or("").size();
  for (std::size_t separator = gbk::Find(folder, "\\", rootLength); separator != gbk::npos;
       separator = gbk::Find(folder, "\\", separator + 1)) {
    CreateAndRecord(folder.substr(0, separator));
  }
  CreateAndRecord(folder);
  state_.TargetDir = folder;
}

}  // namespace app
