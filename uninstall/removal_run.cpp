#include <cstdlib>
#include <string>

#include "common/files/read_only.h"
#include "common/uninstall_log/log_removal.h"
#include "product/product_facts.h"
#include "uninstall/uninstaller.h"
#include "common/platform/process.h"

namespace uninstall {

namespace {

// The first run may still be ending and holds its program file while it lives. Once the
// file is gone there is nothing to wait for: a later install may put a new one there.
void DeleteWhileLocked(const std::string& path) {
  constexpr int kMoreTries = 600;
  constexpr DWORD kPauseMs = 100;
  for (int retry = 0; !files::DeleteFileAlways(path) && !files::IsGone(GetLastError()) && retry < kMoreTries; ++retry) {
    Sleep(kPauseMs);
  }
}

// The installed program lies beside the log; a log path without a folder names none.
void DeleteInstalledProgram(const std::string& logPath) {
  if (const std::size_t lastBackslash = logPath.rfind('\\'); lastBackslash != std::string::npos) {
    DeleteWhileLocked(logPath.substr(0, lastBackslash + 1) + product::kUninstallerFile);
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
  std::optional<std::string> text = uninstall_log::ReadWholeLog(logPath);
  HANDLE pipe = ReportPipe();
  if (!text) {
    if (pipe != nullptr) {
      Report(pipe, kNothingRemoved);
      return kNothingRemoved;
    }
    ShowFinishPage();
    return kRemoved;
  }
  // Once the files and registry entries the log lists are gone, the first run may end
  // with the report; only then can its program file go, and the log after it: a removal
  // ended between the two leaves a log that the next install overwrites, never a program
  // whose log is gone and which could remove nothing. Then the install folder goes.
  ExitCode result = kRemoved;
  uninstall_log::CarryOutSections(logPath, *text, uninstall_log::RootRule::kLeadingPart, registry::kProductLineView,
                                  [&](int entriesLeft) {
                                    result = entriesLeft == 0 ? kRemoved : kRemovedInPart;
                                    if (pipe != nullptr) Report(pipe, result);
                                    DeleteInstalledProgram(logPath);
                                  });
  if (pipe == nullptr) ShowFinishPage();
  return result;
}

}  // namespace uninstall
