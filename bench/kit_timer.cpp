// Times the kit under Wine for the benchmarks (figures, not pass/fail):
//   kit_timer.exe install <medium folder>   the copy phase: Next on the summary page to the finish page
//   kit_timer.exe uninstall <log path>      the removal run: start to its finish page
//   kit_timer.exe startup <program>         process start to its first visible window
// Prints the milliseconds on one line; exit code 1 when the step did not complete.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/support/kit.h"
#include "uninstall/command_line.h"

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

int TimeInstall(const std::string& medium) {
  Installer installer(medium + "\\install.exe");
  HWND summary = installer.WalkTo(Page::kSummary);
  if (summary == nullptr) return 1;
  const LARGE_INTEGER start = Now();
  Press(summary, 1001);
  HWND finish = installer.WaitForPage(Page::kFinish, 600000);
  const double elapsed = Milliseconds(start);
  if (finish == nullptr) return 1;
  SendMessageA(GetDlgItem(finish, 1006), BM_SETCHECK, BST_UNCHECKED, 0);
  Press(finish, 1001);
  installer.WaitForExit();
  EndProgramsWithWindow({"Quendral复习自动检查"});
  std::printf("%.1f\n", elapsed);
  return 0;
}

int TimeUninstall(const std::string& logPath) {
  const LARGE_INTEGER start = Now();
  Process removal("\"" + KitDir() + "uninstall.exe\" " + logPath);
  HWND finish = WaitForUninstallFinishPage(600000);
  const double elapsed = Milliseconds(start);
  if (finish == nullptr) return 1;
  Press(finish, 1001);
  removal.WaitForExit();
  std::printf("%.1f\n", elapsed);
  return 0;
}

int TimeStartup(const std::string& program) {
  const LARGE_INTEGER start = Now();
  Process process("\"" + program + "\"");
  HWND window = WaitFor([&]() -> HWND {
    auto windows = TopLevelWindows(process.Id());
    return windows.empty() ? nullptr : windows.front();
  });
  const double elapsed = Milliseconds(start);
  if (window == nullptr) return 1;
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
  if (mode == "startup") return TimeStartup(target);
  std::printf("usage: kit_timer.exe install|uninstall|startup <path>\n");
  return 2;
}
