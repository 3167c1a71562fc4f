#include "install/engine/install_worker.h"

#include <commctrl.h>

#include <string>

#include "install/app/diagnostic_log.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "install/engine/install_log.h"
#include "install/engine/manifest_rules.h"
#include "install/engine/shell_integration.h"
#include "install/pages/worker_link.h"
#include "common/files/whole_file.h"
#include "product/product_facts.h"

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
  std::string FetchLine(int index);
  // The pause and stop tests after each line; true when the install is to stop.
  bool StopRequested();
  void RecordCreatedFolders();
  void StopPath();
  void Completion();
  void PostFinal(WPARAM command) {
    link_.WorkerRunning = 0;
    PostMessageA(link_.PageWindow, WM_COMMAND, command, 0);
  }

  pages::WorkerLink& link_;
  InstallLog log_;
  const std::string uninstallerPath_;
  std::string manifest_;
  unsigned long long copiedBytes_ = 0;  // of the product files, for the installed-programs entry
};

// The size of a file copied a moment ago.
unsigned long long FileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void InstallRun::Execute() {
  const std::string manifestPath = SourceDir + product::kManifestFile;
  std::optional<std::string> manifest = files::ReadWholeFile(manifestPath);
  if (!manifest) return EarlyFailure(manifestPath + app::kCannotOpen, GetLastError());
  manifest_ = std::move(*manifest);
  // The edit control takes the text up to its first NUL byte.
  SendMessageA(link_.ManifestEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(manifest_.c_str()));
  const int lineCount =
      engine::ConsideredLineCount(static_cast<int>(SendMessageA(link_.ManifestEdit, EM_GETLINECOUNT, 0, 0)));
  if (lineCount <= 0) return EarlyFailure(manifestPath + app::kManifestInvalid, ERROR_SUCCESS);

  CopyFileA((SourceDir + product::kUninstallerFile).c_str(), uninstallerPath_.c_str(), FALSE);
  const std::string logPath = TargetDir + "\\" + product::kUninstallLogFile;
  if (!log_.Create(logPath)) return EarlyFailure(logPath + app::kCannotCreate, GetLastError());
  CreateInstallTree();
  SendMessageA(link_.ProgressBar, PBM_SETRANGE, 0, MAKELPARAM(0, lineCount));
  if (!CopyLoop(lineCount)) return;

  manifest_.clear();
  manifest_.shrink_to_fit();
  log_.Record(TargetDir + "\\" + product::kDataFile);
  CreateShortcuts(log_, uninstallerPath_);
  log_.EndSection();
  WriteSettingsValue();
  WriteRunValue(log_);
  WriteUninstallEntry(log_, uninstallerPath_, copiedBytes_);
  log_.EndSection();
  Completion();
}

std::string InstallRun::FetchLine(int index) {
  // The first word tells the control how many bytes it may copy; one more for the NUL.
  char line[engine::kMaxLineBytes + 1] = {};
  *reinterpret_cast<WORD*>(line) = engine::kMaxLineBytes;
  LRESULT length = SendMessageA(link_.ManifestEdit, EM_GETLINE, index, reinterpret_cast<LPARAM>(line));
  if (length < 0 || length > engine::kMaxLineBytes) length = 0;
  return std::string(line, static_cast<size_t>(length));
}

bool InstallRun::CopyLoop(int lineCount) {
  for (int index = 0, handled = 0; index < lineCount; ++index) {
    const std::string line = FetchLine(index);
    if (engine::EndsList(line)) break;
    const std::string destination = TargetDir + "\\" + line;
    bool copied = true;
    DWORD copyError = ERROR_SUCCESS;
    const bool loggedOnly = engine::IsLoggedNotCopied(line);
    if (!loggedOnly) {
      SetWindowTextA(link_.StatusText, destination.c_str());
      copied = CopyFileA((SourceDir + product::kDataFolder + line).c_str(), destination.c_str(), FALSE) != 0;
      if (!copied) copyError = GetLastError();
    }
    // Recorded whatever the outcome, so that a roll-back removes any part of it.
    log_.Record(destination);
    const unsigned long long bytes = copied && !loggedOnly ? FileBytes(destination) : 0;
    copiedBytes_ += bytes;
    app::Diagnose("line " + std::to_string(index + 1) + ": " + destination + ", " + std::to_string(bytes) + " bytes, " +
                  (loggedOnly ? "logged, not copied"
                   : copied   ? "copied"
                              : "copy failed"));
    if (!copied) {
      Fail(destination + app::kCannotCopy, copyError);
      link_.AbortRequested = 1;
    }
    SendMessageA(link_.ProgressBar, PBM_SETPOS, ++handled, 0);
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
    Sleep(kPausePollMs);
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
