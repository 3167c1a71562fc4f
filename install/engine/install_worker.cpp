#include "install/engine/install_worker.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "install/app/diagnostic_log.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "install/engine/copy_profile.h"
#include "install/engine/install_log.h"
#include "common/medium/manifest_rules.h"
#include "install/engine/shell_integration.h"
#include "install/pages/worker_link.h"
#include "common/files/read_only.h"
#include "common/files/whole_file.h"
#include "product/product_facts.h"
#include "common/platform/files.h"
#include "common/platform/security.h"
#include "common/platform/user_interface.h"

namespace engine {

using app::CreatedDirs;
using app::SourceDir;
using app::TargetDir;

namespace {

constexpr DWORD kPausePollMs = 100;

class InstallRun {
 public:
  explicit InstallRun(pages::WorkerLink& link)
      : link_(link),
        log_(link.PageWindow, link.AbortRequested),
        uninstallerPath_(TargetDir + "\\" + product::kUninstallerFile) {}

  void Execute();

 private:
  // `windowsError` is GetLastError of the failed call, taken before anything else runs.
  void Fail(const std::string& text, DWORD windowsError) {
    app::InstallFailed = true;
    app::ReportError(link_.PageWindow, text, windowsError);
  }
  void EarlyFailure(const std::string& text, DWORD windowsError);
  // Answers false when the stop path was taken.
  bool CopyLoop(int lineCount);
  // The pause and stop tests after each line; true when the install is to stop.
  bool StopRequested();
  void RecordCreatedFolders();
  void StopPath();
  void Completion();
  void PostFinal(WPARAM command) {
    link_.WorkerRunning = 0;
    PostMessageW(link_.PageWindow, WM_COMMAND, command, 0);
  }

  pages::WorkerLink& link_;
  InstallLog log_;
  const std::string uninstallerPath_;
  std::string manifest_;
  std::vector<std::string_view> lines_;  // into manifest_
  unsigned long long copiedBytes_ = 0;   // of the product files, for the installed-programs entry
};

// A chosen folder that was there before keeps its own rules, which the kit never changes;
// the log says when they let other users add files beside the installed programs.
void NoteAnOpenExistingFolder() {
  if (std::find(CreatedDirs.begin(), CreatedDirs.end(), TargetDir) != CreatedDirs.end()) return;
  const std::string folder = TargetDir.size() == 2 ? TargetDir + "\\" : TargetDir;  // a drive root ("D:")
  if (platform::OthersMayAddFiles(folder)) {
    app::Diagnose("the install folder existed before and other users may add files to it: " + TargetDir);
  }
}

// The size of a file copied a moment ago. A copy from a CD is read-only like its source;
// the same query tells, so a writable medium costs no further call.
unsigned long long CopiedFileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!platform::GetFileAttributesExGbk(path, data)) return 0;
  files::ClearReadOnly(path, data.dwFileAttributes);
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void InstallRun::Execute() {
  std::optional<ProfileTimer> beforeFirstFile(std::in_place, ProfileStep::kBeforeFirstFile);
  NoteAnOpenExistingFolder();
  const std::string manifestPath = SourceDir + product::kManifestFile;
  std::optional<std::string> manifest = files::ReadWholeFile(manifestPath);
  if (!manifest) return EarlyFailure(manifestPath + app::kCannotOpen, GetLastError());
  manifest_ = std::move(*manifest);
  // Split here, once, rather than read back line by line from an edit control on the page.
  lines_ = medium::ManifestLines(manifest_);
  const int lineCount = static_cast<int>(lines_.size());
  if (lineCount <= 0) return EarlyFailure(manifestPath + app::kManifestInvalid, ERROR_SUCCESS);

  if (platform::CopyToInstalledFileGbk(SourceDir + product::kUninstallerFile, uninstallerPath_)) {
    files::ClearReadOnly(uninstallerPath_);
  }
  const std::string logPath = TargetDir + "\\" + product::kUninstallLogFile;
  if (!log_.Create(logPath)) return EarlyFailure(logPath + app::kCannotCreate, GetLastError());
  beforeFirstFile.reset();
  {
    const ProfileTimer timer(ProfileStep::kFolderTree);
    CreateInstallTree();
  }
  SendMessageW(link_.ProgressBar, PBM_SETRANGE, 0, MAKELPARAM(0, lineCount));
  if (!CopyLoop(lineCount)) return;

  lines_.clear();
  manifest_.clear();
  manifest_.shrink_to_fit();
  log_.Record(TargetDir + "\\" + product::kDataFile);
  {
    const ProfileTimer timer(ProfileStep::kShortcuts);
    CreateShortcuts(log_, uninstallerPath_);
  }
  log_.EndSection();
  {
    const ProfileTimer timer(ProfileStep::kSettings);
    WriteSettingsValue();
  }
  {
    const ProfileTimer timer(ProfileStep::kRegistry);
    WriteRunValue(log_);
    WriteUninstallEntry(log_, uninstallerPath_, copiedBytes_);
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
    const std::string destination = TargetDir + "\\" + line;
    bool copied = true;
    DWORD copyError = ERROR_SUCCESS;
    const bool loggedOnly = medium::IsLoggedNotCopied(line);
    if (!loggedOnly) {
      {
        const ProfileTimer timer(ProfileStep::kStatusText);
        platform::SetWindowTextGbk(link_.StatusText, destination);
      }
      const ProfileTimer timer(ProfileStep::kCopyFile);
      copied = platform::CopyToInstalledFileGbk(SourceDir + product::kDataFolder + line, destination);
      if (!copied) copyError = GetLastError();
    }
    // Recorded whatever the outcome, so that a roll-back removes any part of it.
    {
      const ProfileTimer timer(ProfileStep::kLogRecord);
      log_.Record(destination);
    }
    const unsigned long long bytes = copied && !loggedOnly ? CopiedFileBytes(destination) : 0;
    copiedBytes_ += bytes;
    app::Diagnose("line " + std::to_string(index + 1) + ": " + destination + ", " + std::to_string(bytes) + " bytes, " +
                  (loggedOnly ? "logged, not copied"
                   : copied   ? "copied"
                              : "copy failed"));
    if (!copied) {
      Fail(destination + app::kCannotCopy, copyError);
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
  for (auto folder = CreatedDirs.rbegin(); folder != CreatedDirs.rend(); ++folder) log_.Record(*folder);
}

void InstallRun::StopPath() {
  log_.EndSection();
  log_.EndSection();
  RecordCreatedFolders();
  // The roll-back removes these folders through the log; start-up must not try again.
  CreatedDirs.clear();
  log_.Close();
  PostFinal(pages::kWorkerStopped);
}

void InstallRun::Completion() {
  RecordCreatedFolders();
  PostFinal(link_.AbortRequested == 1 ? pages::kWorkerStopped : pages::kWorkerCompleted);
  CreatedDirs.clear();
  log_.Close();
}

void InstallRun::EarlyFailure(const std::string& text, DWORD windowsError) {
  Fail(text, windowsError);
  link_.AbortRequested = 1;
  PostFinal(pages::kWorkerStopped);
}

}  // namespace

DWORD WINAPI InstallWorker(LPVOID workerLink) {
  InstallRun(*static_cast<pages::WorkerLink*>(workerLink)).Execute();
  return 0;
}

}  // namespace engine
