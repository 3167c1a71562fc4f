#include <cstdint>
#include <optional>
#include <string>

#include "common/files/read_only.h"
#include "product/product_facts.h"
#include "product/product_windows.h"
#include "uninstall/uninstaller.h"
#include "uninstall/uninstaller_texts.h"

namespace uninstall {

namespace {

struct Copy {
  std::string program;      // %TEMP%\uninstall.exe
  std::string commandLine;  // its quoted path, one blank and the log path beside this program
};

// Copies this program into the temporary folder; nothing when any step fails.
std::optional<Copy> CopyToTemporaryFolder() {
  char tempFolder[266] = "";
  const DWORD tempLength = GetTempPathA(sizeof tempFolder, tempFolder);
  if (tempLength == 0 || tempLength >= sizeof tempFolder) return std::nullopt;
  const std::string copyPath = std::string(tempFolder) + product::kUninstallerFile;

  char ownPath[266] = "";
  const DWORD ownLength = GetModuleFileNameA(nullptr, ownPath, sizeof ownPath);
  if (ownLength == 0 || ownLength >= sizeof ownPath) return std::nullopt;
  // A copy left by a removal from a CD is read-only and would refuse the overwrite; this
  // one would be read-only too, and refuse the next removal.
  files::ClearReadOnly(copyPath);
  if (!CopyFileA(ownPath, copyPath.c_str(), FALSE)) return std::nullopt;
  files::ClearReadOnly(copyPath);

  const std::string self(ownPath);
  const std::size_t lastBackslash = self.rfind('\\');
  if (lastBackslash == std::string::npos) return std::nullopt;
  const std::string logPath = self.substr(0, lastBackslash + 1) + product::kUninstallLogFile;
  // The copy's path is quoted, so that a temporary folder with blanks still leaves the
  // whole log path as its argument.
  return Copy{copyPath, "\"" + copyPath + "\" " + logPath};
}

// Starts the copy by its full path. Not WinExec: that waits up to 30 s for the copy to
// become idle, and the copy first waits for this process to end.
bool StartCopy(const Copy& copy, bool inheritHandles) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION started{};
  // CreateProcessA may write into the command line's buffer.
  std::string commandLine = copy.commandLine;
  if (!CreateProcessA(copy.program.c_str(), commandLine.data(), nullptr, nullptr, inheritHandles, 0, nullptr, nullptr,
                      &startup, &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

}  // namespace

void FirstRun() {
  if (MessageBoxA(nullptr, kConfirmQuestion, kConfirmCaption, MB_YESNO | MB_ICONQUESTION) == IDNO) {
    return;
  }
  if (product::MainProgramIsRunning()) {
    product::ShowStopProductMessage(kStopProductBeforeRemoval, kCaption);
    return;
  }
  if (!product::CloseReviewMonitor()) {
    product::ShowStopProductMessage(kStopMonitorBeforeRemoval, kCaption);
    return;
  }
  if (const std::optional<Copy> copy = CopyToTemporaryFolder()) StartCopy(*copy, false);
  // Nothing may keep this process alive now: the copy waits for it to delete its file.
}

ExitCode UnattendedFirstRun() {
  if (product::MainProgramIsRunning()) return kProductRunning;
  if (!product::CloseReviewMonitor()) return kMonitorRunning;
  const std::optional<Copy> copy = CopyToTemporaryFolder();
  if (!copy) return kNothingRemoved;

  // The copy inherits the pipe's write end; this process keeps only the read end, so a
  // copy that ends without reporting ends the wait as well.
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE reportRead = nullptr;
  HANDLE reportWrite = nullptr;
  if (!CreatePipe(&reportRead, &reportWrite, &inheritable, 0)) return kNothingRemoved;
  SetHandleInformation(reportRead, HANDLE_FLAG_INHERIT, 0);
  SetEnvironmentVariableA(kReportPipeVariable, std::to_string(reinterpret_cast<std::uintptr_t>(reportWrite)).c_str());
  const bool started = StartCopy(*copy, true);
  CloseHandle(reportWrite);
  DWORD reported = kNothingRemoved;
  DWORD got = 0;
  if (!started || !ReadFile(reportRead, &reported, sizeof reported, &got, nullptr) || got != sizeof reported) {
    reported = kNothingRemoved;
  }
  CloseHandle(reportRead);
  // The copy deletes this program's file once this process has ended, then the folders.
  return static_cast<ExitCode>(reported);
}

}  // namespace uninstall
