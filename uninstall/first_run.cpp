#include <cstdint>
#include <optional>
#include <string>

#include "common/platform/files.h"
#include "common/platform/gbk_text.h"
#include "common/platform/private_folder.h"
#include "common/platform/process.h"
#include "common/platform/user_interface.h"
#include "common/single_setup/setup_lock.h"
#include "product/product_facts.h"
#include "product/product_windows.h"
#include "uninstall/uninstaller.h"
#include "uninstall/uninstaller_texts.h"

namespace uninstall {

namespace {

// The copy's paths stay as Windows gives them: the kit only hands them back, so a
// temporary folder GBK cannot name (a Korean user name) still works.
struct Copy {
  std::wstring program;      // <temporary folder>\Quendral-<random>\uninstall.exe
  std::wstring commandLine;  // its quoted path, one blank and the log path beside this program
};

// Copies this program into a new private folder of the temporary folder, where no other
// user can have put a file or a folder by that name; nothing when any step fails.
std::optional<Copy> CopyToPrivateFolder() {
  constexpr std::size_t kPathRoom = 266;
  const std::optional<std::wstring> ownPath = platform::ModuleFileNameWide();
  if (!ownPath || ownPath->size() >= kPathRoom) return std::nullopt;
  // The running copy can delete neither itself nor its folder: both go when Windows next
  // starts, so that nothing piles up in the temporary folder.
  const std::wstring copyName = platform::ShownText(product::kUninstallerFile);
  const std::optional<std::wstring> folder = platform::CreatePrivateTempFolder({copyName});
  if (!folder) return std::nullopt;
  const std::wstring copyPath = *folder + copyName;
  if (!platform::CopyFileWide(*ownPath, copyPath, true)) return std::nullopt;
  // A copy of a program on a CD is read-only, and would refuse to be deleted.
  platform::ClearReadOnly(copyPath);

  // The log path is the copy's argument, which it reads back as GBK: this program's own
  // folder must be one GBK can name (the install folder always is).
  const std::optional<std::string> self = platform::GbkFromWide(*ownPath);
  if (!self) return std::nullopt;
  // Byte-wise, as the uninstaller has always searched: its own folder is the install
  // folder, which the installer made with a GBK-aware search.
  const std::size_t lastBackslash = self->rfind('\\');
  if (lastBackslash == std::string::npos) return std::nullopt;
  const std::string logPath = self->substr(0, lastBackslash + 1) + product::kUninstallLogFile;
  // The copy's path is quoted, so that a temporary folder with blanks still leaves the
  // whole log path as its argument.
  return Copy{copyPath, L"\"" + copyPath + L"\" " + platform::ShownText(logPath)};
}

// Starts the copy by its full path, handing it the setup lock. Not WinExec: that waits up
// to 30 s for the copy to become idle, and the copy first waits for this process to end.
bool StartCopy(const Copy& copy, single_setup::SetupLock& lock, bool inheritHandles) {
  lock.BeginHandOver();
  HANDLE process = platform::StartProcessWide(copy.program, copy.commandLine, inheritHandles);
  lock.EndHandOver(process);
  if (process == nullptr) return false;
  CloseHandle(process);
  return true;
}

}  // namespace

void FirstRun() {
  single_setup::SetupLock lock;
  if (!lock.Take()) {
    platform::MessageBoxGbk(nullptr, kAnotherSetupRunningText, kCaption, MB_OK | MB_ICONHAND);
    return;
  }
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
  if (const std::optional<Copy> copy = CopyToPrivateFolder()) StartCopy(*copy, lock, false);
  // Nothing may keep this process alive now: the copy waits for it to delete its file.
}

ExitCode UnattendedFirstRun() {
  single_setup::SetupLock lock;
  if (!lock.Take()) return kAnotherSetupRunning;
  if (product::MainProgramIsRunning()) return kProductRunning;
  if (!product::CloseReviewMonitor()) return kMonitorRunning;
  const std::optional<Copy> copy = CopyToPrivateFolder();
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
  // The copy holds the lock from here on.
  const bool started = StartCopy(*copy, lock, true);
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
