#include <cstdlib>
#include <string>

#include "common/platform/files.h"
#include "common/platform/user_interface.h"
#include "common/single_setup/setup_lock.h"
#include "common/uninstall_log/log_removal.h"
#include "product/product_facts.h"
#include "uninstall/uninstaller.h"
#include "uninstall/uninstaller_texts.h"
#include "common/platform/process.h"

namespace uninstall {

namespace {

// The first run may still be ending and holds its program file while it lives. Once the
// file is gone there is nothing to wait for: a later install may put a new one there. One
// that another program still holds after a minute goes at the next restart.
void DeleteWhileLocked(const std::string& path, uninstall_log::RemovalOutcome& outcome) {
  constexpr int kMoreTries = 600;
  constexpr DWORD kPauseMs = 100;
  for (int retry = 0;; ++retry) {
    if (platform::DeleteFileAlways(path) || platform::IsGone(GetLastError())) return;
    if (retry == kMoreTries) break;
    Sleep(kPauseMs);
  }
  if (platform::DeleteAtRestartGbk(path)) ++outcome.scheduled;
}

// The installed program lies beside the log; a log path without a folder names none. The
// search is byte-wise, as the uninstaller's has always been (the installer's are
// double-byte aware).
void DeleteInstalledProgram(const std::string& logPath, uninstall_log::RemovalOutcome& outcome) {
  if (const std::size_t lastBackslash = logPath.rfind('\\'); lastBackslash != std::string::npos) {
    DeleteWhileLocked(logPath.substr(0, lastBackslash + 1) + product::kUninstallerFile, outcome);
  }
}

// The write end of the unattended first run's report pipe; null in an interactive removal.
HANDLE ReportPipe() {
  const std::optional<std::string> value = platform::GetEnvironmentVariableGbk(kReportPipeVariable);
  if (!value || value->empty() || value->size() >= 32) return nullptr;
  return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::strtoull(value->c_str(), nullptr, 10)));
}

void Report(HANDLE pipe, ExitCode code) {
  const DWORD value = code;
  DWORD written = 0;
  WriteFile(pipe, &value, sizeof value, &written, nullptr);
  CloseHandle(pipe);
}

}  // namespace

ExitCode RemovalRun(const std::string& logPath) {
  HANDLE pipe = ReportPipe();
  single_setup::SetupLock lock;
  if (!lock.Take()) {
    if (pipe != nullptr) {
      Report(pipe, kAnotherSetupRunning);
      return kAnotherSetupRunning;
    }
    platform::MessageBoxGbk(nullptr, kAnotherSetupRunningText, kCaption, MB_OK | MB_ICONHAND);
    return kRemoved;
  }
  std::optional<std::string> text = uninstall_log::ReadWholeLog(logPath);
  if (!text) {
    if (pipe != nullptr) {
      Report(pipe, kNothingRemoved);
      return kNothingRemoved;
    }
    lock.Release();  // the finish page changes nothing more
    ShowFinishPage();
    return kRemoved;
  }
  // Once the files and registry entries the log lists are gone, the first run may end
  // with the report; only then can its program file go, and the log after it: a removal
  // ended between the two leaves a log that the next install overwrites, never a program
  // whose log is gone and which could remove nothing. Then the install folder goes. A setup
  // started once the report is out waits until that is done.
  ExitCode result = kRemoved;
  const auto reportThenDeleteProgram = [&](uninstall_log::RemovalOutcome& outcome) {
    result = outcome.left > 0 ? kRemovedInPart : outcome.scheduled > 0 ? kRestartNeeded : kRemoved;
    lock.AnnounceFinishing();
    if (pipe != nullptr) Report(pipe, result);
    DeleteInstalledProgram(logPath, outcome);
  };
  uninstall_log::CarryOutSections(logPath, *text, uninstall_log::RootRule::kLeadingPart,
                                  registry_view::kProductLineView, uninstall_log::HeldFiles::kDeleteAtRestart,
                                  reportThenDeleteProgram);
  lock.Release();
  if (pipe == nullptr) ShowFinishPage();
  return result;
}

}  // namespace uninstall
