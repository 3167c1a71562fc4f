#include <cstdint>
#include <optional>
#include <string>

#include "common/files/read_only.h"
#include "common/platform/files.h"
#include "common/platform/gbk_text.h"
#include "common/platform/process.h"
#include "common/platform/user_interface.h"
#include "product/product_facts.h"
#include "product/product_windows.h"
#include "uninstall/uninstaller.h"
#include "uninstall/uninstaller_texts.h"

namespace uninstall {

namespace {

// The copy's paths stay as Windows gives them: the kit only hands them back, so a
// temporary folder GBK cannot name (a Korean user name) still works.
struct Copy {
  std::wstring program;      // %TEMP%\uninstall.exe
  std::wstring commandLine;  // its quoted path, one blank and the log path beside this program
};

// Copies this program into the temporary folder; nothing when any step fails.
std::optional<Copy> CopyToTemporaryFolder() {
  constexpr std::size_t kPathRoom = 266;
  const std::optional<std::wstring> tempFolder = platform::TempPathWide(kPathRoom);
  if (!tempFolder) return std::nullopt;
  const std::wstring copyPath = *tempFolder + platform::ShownText(product::kUninstallerFile);

  const std::optional<std::wstring> ownPath = platform::ModuleFileNameWide();
  if (!ownPath || ownPath->size() >= kPathRoom) return std::nullopt;
  // A copy left by a removal from a CD is read-only and would refuse the overwrite; this
  // one would be read-only too, and refuse the next removal.
  files::ClearReadOnly(copyPath);
  if (!platform::CopyFileWide(*ownPath, copyPath)) return std::nullopt;
  files::ClearReadOnly(copyPath);

  // The log path is the copy's argument, which it reads back as GBK: this program's own
  // folder must be one GBK can name (the install folder always is).
  const std::optional<std::string> self = platform::GbkFromWide(*ownPath);
  if (!self) return std::nullopt;
  const std::size_t lastBackslash = self->rfind('\\');
  if (lastBackslash == std::string::npos) return std::nullopt;
  const std::string logPath = self->substr(0, lastBackslash + 1) + product::kUninstallLogFile;
  // The copy's path is quoted, so that a temporary folder with blanks still leaves the
  // whole log path as its argument.
  return Copy{copyPath, L"\"" + copyPath + L"\" " + platform::ShownText(logPath)};
}

// Starts the copy by its full path. Not WinExec: that waits up to 30 s for the copy to
// become idle, and the copy first waits for this process to end.
bool StartCopy(const Copy& copy, bool inheritHandles) {
  return platform::StartProcessWide(copy.program, copy.commandLine, inheritHandles);
}

}  // namespace

void FirstRun() {
  if (platform::MessageBoxGbk(nullptr, kConfirmQuestion, kConfirmCaption, MB_YESNO | MB_ICONQUESTION) == IDNO) {
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
  platform::SetEnvironmentVariableGbk(kReportPipeVariable,
                                      std::to_string(reinterpret_cast<std::uintptr_t>(reportWrite)));
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
