#include <string>

#include "product/product_facts.h"
#include "product/product_windows.h"
#include "uninstall/uninstaller.h"
#include "uninstall/uninstaller_texts.h"

namespace uninstall {

namespace {

// Starts the copy by its full path, shown normally. Not WinExec: that waits up to 30 s for
// the copy to become idle, and the copy first waits for this process to end.
// The command line is taken by value: CreateProcessA may write into its buffer.
// cppcheck-suppress passedByValue
void StartCopy(const std::string& program, std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION started{};
  if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &started)) {
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
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
  char tempFolder[266] = "";
  const DWORD tempLength = GetTempPathA(sizeof tempFolder, tempFolder);
  if (tempLength == 0 || tempLength >= sizeof tempFolder) return;
  const std::string copyPath = std::string(tempFolder) + product::kUninstallerFile;

  char ownPath[266] = "";
  const DWORD ownLength = GetModuleFileNameA(nullptr, ownPath, sizeof ownPath);
  if (ownLength == 0 || ownLength >= sizeof ownPath) return;
  if (!CopyFileA(ownPath, copyPath.c_str(), FALSE)) return;

  const std::string self(ownPath);
  const std::size_t lastBackslash = self.rfind('\\');
  if (lastBackslash == std::string::npos) return;
  const std::string logPath = self.substr(0, lastBackslash + 1) + product::kUninstallLogFile;

  // The copy's path is quoted, so that a temporary folder with blanks still leaves the
  // whole log path as its argument.
  StartCopy(copyPath, "\"" + copyPath + "\" " + logPath);
  // Nothing may keep this process alive now: the copy waits for it to delete its file.
}

}  // namespace uninstall
