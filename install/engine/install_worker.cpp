#include "install/engine/install_worker.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "install/engine/diagnostic_log.h"
#include "resources/installer_texts.h"
#include "install/engine/copy_profile.h"
#include "install/engine/uninstall_log_file.h"
#include "common/medium/manifest_rules.h"
#include "install/engine/setup_payload.h"
#include "install/engine/shell_integration.h"
#include "install/engine/worker_link.h"
#include "product/product_facts.h"
#include "common/platform/files.h"
#include "common/platform/security.h"
#include "common/platform/user_interface.h"

namespace engine {

namespace {

constexpr DWORD kPausePollMs = 100;

class InstallRun {
 public:
  explicit InstallRun(WorkerLink& link)
      : link_(link),
        state_(*link.Context),
        log_(state_, link.PageWindow, link.AbortRequested),
        uninstallerPath_(state_.TargetDir + "\\" + product::kUninstallerFile) {}

  void Execute();

 private:
  // `windowsError` is GetLastError of the failed call, taken before anything else runs.
  void Fail(const std::string& text, DWORD windowsError) {
    state_.InstallFailed = true;
    ReportError(state_.Unattended, link_.PageWindow, text, windowsError);
  }
  void EarlyFailure(const std::string& text, DWORD windowsError);
  // Answers false when the stop path was taken.
  bool CopyLoop(int lineCount);
  // From the medium's data folder, or from the setup's file that started the installer.
  bool CopyProductFile(const std::string& line, const std::string& destination);
  // The pause and stop tests after each line; true when the install is to stop.
  bool StopRequested();
  void RecordCreatedFolders();
  void StopPath();
  void Completion();
  void PostFinal(WPARAM command) {
    link_.WorkerRunning = 0;
    PostMessageW(link_.PageWindow, WM_COMMAND, command, 0);
  }

  WorkerLink& link_;
  InstallerState& state_;
  UninstallLogFile log_;
  const std::string uninstallerPath_;
  std::string manifest_;
  std::vector<std::string_view> lines_;  // into manifest_
  unsigned long long copiedBytes_ = 0;   // of the product files, for the installed-programs entry
};

// A chosen folder that was there before keeps its own rules, which the kit never changes;
// the log says when they let other users add files beside the installed programs.
void NoteAnOpenExistingFolder(const InstallerState& state) {
  const std::string& target = state.TargetDir;
  if (std::find(state.CreatedDirs.begin(), state.CreatedDirs.end(), target) != state.CreatedDirs.end()) return;
  const std::string folder = target.size() == 2 ? target + "\\" : target;  // a drive root ("D:")
  if (platform::OthersMayAddFiles(folder)) {
    Diagnose("the install folder existed before and other users may add files to it: " + target);
  }
}

// The size of a file copied a moment ago.
unsigned long long CopiedFileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!platform::GetFileAttributesExGbk(path, data)) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void InstallRun::Execute() {
  std::optional<ProfileTimer> beforeFirstFile(std::in_place, ProfileStep::kBeforeFirstFile);
  NoteAnOpenExistingFolder(state_);
  const std::string manifestPath = state_.SourceDir + product::kManifestFile;
  std::optional<std::string> manifest = platform::ReadWholeFile(manifestPath);
  if (!manifest) return EarlyFailure(manifestPath + texts::kCannotOpen, GetLastError());
  manifest_ = std::move(*manifest);
  // Split here, once, rather than read back line by line from an edit control on the page.
  lines_ = medium::ManifestLines(manifest_);
  const int lineCount = static_cast<int>(lines_.size());
  if (lineCount <= 0) return EarlyFailure(manifestPath + texts::kManifestInvalid, ERROR_SUCCESS);

  platform::CopyToInstalledFileGbk(state_.SourceDir + product::kUninstallerFile, uninstallerPath_);
  const std::string logPath = state_.TargetDir + "\\" + product::kUninstallLogFile;
  if (!log_.Create(logPath)) return EarlyFailure(logPath + texts::kCannotCreate, GetLastError());
  beforeFirstFile.reset();
  {
    const ProfileTimer timer(ProfileStep::kFolderTree);
    CreateInstallTree(state_);
  }
  SendMessageW(link_.ProgressBar, PBM_SETRANGE, 0, MAKELPARAM(0, lineCount));
  if (!CopyLoop(lineCount)) return;

  lines_.clear();
  manifest_.clear();
  manifest_.shrink_to_fit();
  log_.Record(state_.TargetDir + "\\" + product::kDataFile);
  {
    const ProfileTimer timer(ProfileStep::kShortcuts);
    CreateShortcuts(state_, log_, uninstallerPath_);
  }
  log_.EndSection();
  {
    const ProfileTimer timer(ProfileStep::kSettings);
    WriteSettingsValue(state_);
  }
  {
    const ProfileTimer timer(ProfileStep::kRegistry);
    WriteRunValue(state_, log_);
    WriteUninstallEntry(state_, log_, uninstallerPath_, copiedBytes_);
  }
  log_.EndSection();
  Completion();
  WriteProfile();
}

bool InstallRun::CopyLoop(int lineCount) {
  for (int index = 0, handled = 0; index < lineCount; ++index) {
    std::optional<ProfileTimer> fetching(std::in_place, ProfileStep::kFetchLine);
    const std::string line(lines_[static_cast<std::size_t>(index)]);
    fetching.reset();
    if (medium::EndsList(line)) break;
    const std::string destination = state_.TargetDir + "\\" + line;
    bool copied = true;
    DWORD copyError = ERROR_SUCCESS;
    const bool loggedOnly = medium::IsLoggedNotCopied(line);
    if (!loggedOnly) {
      {
        const ProfileTimer timer(ProfileStep::kStatusText);
        platform::SetWindowTextGbk(link_.StatusText, destination);
      }
      const ProfileTimer timer(ProfileStep::kCopyFile);
      copied = CopyProductFile(line, destination);
      if (!copied) copyError = GetLastError();
    }
    // Recorded whatever the outcome, so that a roll-back removes any part of it.
    {
      const ProfileTimer timer(ProfileStep::kLogRecord);
      log_.Record(destination);
    }
    const unsigned long long bytes = copied && !loggedOnly ? CopiedFileBytes(destination) : 0;
    copiedBytes_ += bytes;
    Diagnose("line " + std::to_string(index + 1) + ": " + destination + ", " + std::to_string(bytes) + " bytes, " +
             (loggedOnly ? "logged, not copied"
              : copied   ? "copied"
                         : "copy failed"));
    if (!copied) {
      Fail(state_.SetupFileDamaged ? std::string(texts::kDamagedSetupText) : destination + texts::kCannotCopy,
           copyError);
      link_.AbortRequested = 1;
    }
    {
      const ProfileTimer timer(ProfileStep::kProgressPosition);
      SendMessageW(link_.ProgressBar, PBM_SETPOS, ++handled, 0);
    }
    if (StopRequested()) {
      StopPath();
      return false;
    }
  }
  return true;
}

bool InstallRun::CopyProductFile(const std::string& line, const std::string& destination) {
  if (state_.Payload == nullptr) {
    return platform::CopyToInstalledFileGbk(state_.SourceDir + product::kDataFolder + line, destination);
  }
  const SetupPayload::CopyResult result = state_.Payload->CopyProductFile(line, destination);
  if (result == SetupPayload::CopyResult::kDamaged) {
    state_.SetupFileDamaged = true;
    SetLastError(ERROR_FILE_CORRUPT);
  }
  return result == SetupPayload::CopyResult::kCopied;
}

bool InstallRun::StopRequested() {
  while (link_.PauseRequested == 1) {
    if (link_.AbortRequested == 1) return true;
    // Every 100 ms at the latest; at once when the page has changed a flag.
    if (link_.FlagsChanged == nullptr || WaitForSingleObject(link_.FlagsChanged, kPausePollMs) == WAIT_FAILED) {
      Sleep(kPausePollMs);
    }
  }
  return link_.AbortRequested == 1;
}

void InstallRun::RecordCreatedFolders() {
  for (auto folder = state_.CreatedDirs.rbegin(); folder != state_.CreatedDirs.rend(); ++folder) log_.Record(*folder);
}

void InstallRun::StopPath() {
  log_.EndSection();
  log_.EndSection();
  RecordCreatedFolders();
  // The roll-back removes these folders through the log; start-up must not try again.
  state_.CreatedDirs.clear();
  log_.Close();
  PostFinal(kWorkerStopped);
}

void InstallRun::Completion() {
  RecordCreatedFolders();
  PostFinal(link_.AbortRequested == 1 ? kWorkerStopped : kWorkerCompleted);
  state_.CreatedDirs.clear();
  log_.Close();
}

void InstallRun::EarlyFailure(const std::string& text, DWORD windowsError) {
  Fail(text, windowsError);
  link_.AbortRequested = 1;
  PostFinal(kWorkerStopped);
}

}  // namespace

DWORD WINAPI InstallWorker(LPVOID workerLink) {
  InstallRun(*static_cast<WorkerLink*>(workerLink)).Execute();
  return 0;
}

}  // namespace engine
