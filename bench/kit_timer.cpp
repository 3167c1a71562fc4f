// Times the kit under Wine for the benchmarks (figures, not pass/fail):
//   kit_timer.exe install <medium folder>   the copy phase: Next on the summary page to the finish page,
//                                           then the installer's peak working set in KiB
//   kit_timer.exe uninstall <log path>      the removal run: start to its finish page
//   kit_timer.exe startup <program>         process start to its first visible window
//   kit_timer.exe setup-startup <setup>     the single-file setup's start to its installer's welcome page
//   kit_timer.exe run <command line>        a peer program (msiexec, xcopy) from start to exit, then
//                                           its peak working set in KiB
//   kit_timer.exe refused <command line>    the same for a program expected to refuse (exit code 9:
//                                           the single-file setup found its payload damaged)
//   kit_timer.exe resume <medium folder>    Cancel, then No, during the copy: from No to the
//                                           next file's name on the page, for several pauses
//   kit_timer.exe rollback <medium folder>  Cancel, then Yes, half-way through the copy:
//                                           from Yes to the installer's exit, rolled back
// Prints the milliseconds, one line per figure; exit code 1 when the step did not complete.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "e2e_driver/kit.h"
#include "common/command_line/command_line.h"

namespace {

using namespace e2e;

double Milliseconds(LARGE_INTEGER from) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

// Ends the installer on its finish page with the product's program box cleared; the review
// monitor, which the finish page always starts, is ended too.
bool FinishAndEndProduct(Installer& installer) {
  HWND finish = installer.WaitForPage(Page::kFinish, 600000);
  if (finish == nullptr) return false;
  const bool ended = installer.FinishWithoutProduct(finish);
  EndProgramsWithWindow({"Quendral复习自动检查"});
  return ended;
}

int TimeInstall(const std::string& medium) {
  Installer installer(medium + "\\install.exe");
  HWND summary = installer.WalkTo(Page::kSummary);
  if (summary == nullptr) return 1;
  const LARGE_INTEGER start = Now();
  Press(summary, IDC_NEXT);
  HWND finish = installer.WaitForPage(Page::kFinish, 600000);
  const double elapsed = Milliseconds(start);
  // Read while the installer lives: an ended process has no memory figures here.
  const unsigned long long peakKiB = installer.process().PeakWorkingSetKiB();
  if (finish == nullptr || !FinishAndEndProduct(installer)) return 1;
  std::printf("%.1f %llu\n", elapsed, peakKiB);
  return 0;
}

int TimeUninstall(const std::string& logPath) {
  const LARGE_INTEGER start = Now();
  Process removal("\"" + KitDir() + "uninstall.exe\" " + logPath);
  HWND finish = WaitForUninstallFinishPage(600000);
  const double elapsed = Milliseconds(start);
  if (finish == nullptr) return 1;
  Press(finish, IDC_UNINSTALL_FINISH);
  removal.WaitForExit();
  std::printf("%.1f\n", elapsed);
  return 0;
}

int TimeRun(const std::string& commandLine, DWORD expectedExitCode = 0) {
  const LARGE_INTEGER start = Now();
  Process program(commandLine);
  // The peak working set, read every 10 ms while the program lives.
  unsigned long long peakKiB = 0;
  const ULONGLONG deadline = GetTickCount64() + 600000;
  while (!program.WaitForExit(10) && GetTickCount64() < deadline) {
    peakKiB = std::max(peakKiB, program.PeakWorkingSetKiB());
  }
  if (program.Running()) return 1;
  const double elapsed = Milliseconds(start);
  if (program.ExitCode() != expectedExitCode) return 1;
  std::printf("%.1f %llu\n", elapsed, peakKiB);
  return 0;
}

// Presses Cancel on the progress page once `position` files are done; the question box.
HWND AskToStopAt(Installer& installer, HWND progress, int position) {
  if (!WaitFor([&] { return ProgressPosition(progress) >= position ? progress : nullptr; }, 600000)) return nullptr;
  Press(progress, IDCANCEL);
  return installer.WaitForMessageBox().window;
}

constexpr int kPausesPerRun = 7;

int TimeResume(const std::string& medium) {
  Installer installer(medium + "\\install.exe");
  HWND progress = installer.StartCopyOnProgressPage();
  if (progress == nullptr) return 1;
  HWND status = GetDlgItem(progress, IDC_STATUS_TEXT);
  for (int pause = 1; pause <= kPausesPerRun; ++pause) {
    HWND question = AskToStopAt(installer, progress, pause * 100);
    if (question == nullptr) return 1;
    // The worker now holds after its current file and wakes every 100 ms; the varied wait
    // lets No fall at different points of that period.
    Sleep(300 + pause * 37 % 100);
    const std::string held = WindowText(status);
    const LARGE_INTEGER start = Now();
    Press(question, IDNO);
    // Polled without the 20 ms step of WaitFor, which would hide the figure.
    while (WindowText(status) == held) {
      if (Milliseconds(start) > 10000) return 1;
      Sleep(1);
    }
    std::printf("%.1f\n", Milliseconds(start));
  }
  return FinishAndEndProduct(installer) ? 0 : 1;
}

int TimeRollback(const std::string& medium) {
  Installer installer(medium + "\\install.exe");
  HWND progress = installer.StartCopyOnProgressPage();
  if (progress == nullptr) return 1;
  HWND question = AskToStopAt(installer, progress, ProgressMaximum(progress) / 2);
  if (question == nullptr) return 1;
  const LARGE_INTEGER start = Now();
  Press(question, IDYES);
  if (!installer.WaitForExit(600000)) return 1;
  const double elapsed = Milliseconds(start);
  // A figure only for a complete roll-back.
  if (GetFileAttributesA(kDefaultTarget.c_str()) != INVALID_FILE_ATTRIBUTES) return 1;
  std::printf("%.1f\n", elapsed);
  return 0;
}

// `program` started as a program with a window, or as a single-file setup, whose first page
// is its installer's welcome page (its own small window, with the same caption, may come
// before it while it checks itself).
int TimeStartup(const std::string& program, bool setup) {
  const LARGE_INTEGER start = Now();
  std::optional<Installer> started;
  HWND window = nullptr;
  if (setup) {
    started.emplace(Installer::SetupFile{program}, "");
    window = started->WaitForPage(Page::kWelcome, 60000);
  } else {
    started.emplace(program);
    window = WaitFor([&]() -> HWND {
      auto windows = started->Windows();
      return windows.empty() ? nullptr : windows.front();
    });
  }
  const double elapsed = Milliseconds(start);
  if (window == nullptr) return 1;
  // Closed, not ended by force: the installer removes the default folders it made.
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (!started->WaitForExit()) return 1;
  std::printf("%.1f\n", elapsed);
  return 0;
}

}  // namespace

int main() {
  const std::string arguments(command_line::ArgumentAfterProgramName(GetCommandLineA()));
  const std::size_t blank = arguments.find(' ');
  const std::string mode = arguments.substr(0, blank);
  std::string target = blank == std::string::npos ? "" : arguments.substr(blank + 1);
  // Wine quotes an argument with blanks when it builds the command line.
  if (target.size() >= 2 && target.front() == '"' && target.back() == '"') target = target.substr(1, target.size() - 2);
  if (mode == "install") return TimeInstall(target);
  if (mode == "uninstall") return TimeUninstall(target);
  if (mode == "startup") return TimeStartup(target, false);
  if (mode == "setup-startup") return TimeStartup(target, true);
  // The peer's command line as it stands.
  if (mode == "run" && blank != std::string::npos) return TimeRun(arguments.substr(blank + 1));
  if (mode == "refused" && blank != std::string::npos) return TimeRun(arguments.substr(blank + 1), 9);
  if (mode == "resume") return TimeResume(target);
  if (mode == "rollback") return TimeRollback(target);
  std::printf("usage: kit_timer.exe install|uninstall|startup|setup-startup|resume|rollback <path> | run|refused <command line>\n");
  return 2;
}
