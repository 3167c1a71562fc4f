// The demo's walk through the kit without a person: installs the sample medium with the
// wizard and removes it with the uninstaller, saving a picture of the screen at every
// page. The medium is the one QUENDRAL_KIT_DIR names; the argument is the picture folder.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>

#include "tests/e2e/support/kit.h"
#include "tests/e2e/support/screen.h"
#include "common/command_line/command_line.h"

namespace {

using namespace e2e;

std::string g_pictures;
int g_failures = 0;

void Picture(const char* name) {
  Sleep(400);  // let the page finish painting
  const bool saved = SaveScreen(g_pictures + "\\" + name + ".bmp");
  std::printf("%-20s %s\n", name, saved ? "saved" : "NOT SAVED");
}

HWND Expect(HWND window, const char* what) {
  if (window == nullptr) {
    std::printf("%-20s did not appear\n", what);
    ++g_failures;
  }
  return window;
}

// Suspends (or resumes) every thread of the installer but the page's: the worker.
void HoldWorker(DWORD processId, DWORD uiThread, bool hold) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != processId || entry.th32ThreadID == uiThread) continue;
    if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
      hold ? SuspendThread(thread) : ResumeThread(thread);
      CloseHandle(thread);
    }
  }
  CloseHandle(snapshot);
}

// The sample medium copies in milliseconds: the worker is let on a step at a time until
// the bar is part-way with a file name on the status line, and held for the picture.
void PictureOfTheCopyPartWay(DWORD processId, HWND progress) {
  const DWORD uiThread = GetWindowThreadProcessId(progress, nullptr);
  for (const ULONGLONG deadline = GetTickCount64() + 10000; IsWindow(progress) && GetTickCount64() < deadline;) {
    HoldWorker(processId, uiThread, true);
    const int position = ProgressPosition(progress);
    if (position > 0 && position < ProgressMaximum(progress) &&
        !WindowText(GetDlgItem(progress, IDC_STATUS_TEXT)).empty()) {
      Picture("5-progress");
      HoldWorker(processId, uiThread, false);
      return;
    }
    HoldWorker(processId, uiThread, false);
    Sleep(1);
  }
  Expect(nullptr, "5-progress part-way");
}

int Walk() {
  Installer installer(KitDir() + "install.exe");
  struct Step {
    Page page;
    const char* name;
  };
  for (const Step& step : {Step{Page::kWelcome, "1-welcome"}, Step{Page::kLicence, "2-licence"},
                           Step{Page::kDestination, "3-destination"}, Step{Page::kSummary, "4-summary"}}) {
    HWND page = Expect(installer.WaitForPage(step.page), step.name);
    if (page == nullptr) return 1;
    Picture(step.name);
    Press(page, IDC_NEXT);
  }
  if (HWND progress = Expect(installer.WaitForPage(Page::kProgress, 5000), "5-progress")) {
    PictureOfTheCopyPartWay(installer.process().Id(), progress);
  }
  HWND finish = Expect(installer.WaitForPage(Page::kFinish, 60000), "6-finish");
  if (finish == nullptr) return 1;
  Picture("6-finish");
  installer.FinishWithoutProduct(finish);

  Process firstRun("\"" + kDefaultTarget + "\\uninstall.exe\"");
  const MessageBoxSeen question = WaitForMessageBox(firstRun.Id());
  if (Expect(question.window, "7-uninstall-confirm") == nullptr) return 1;
  Picture("7-uninstall-confirm");
  Press(question.window, IDYES);
  HWND done = Expect(WaitForUninstallFinishPage(), "8-uninstall-finish");
  if (done == nullptr) return 1;
  Picture("8-uninstall-finish");
  Press(done, IDC_UNINSTALL_FINISH);
  WaitFor([done]() -> HWND { return IsWindow(done) ? nullptr : done; });

  const bool gone = !FolderExists(kMorvessaFolder) && !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, kProductView);
  std::printf("after the uninstall: %s\n", gone ? "nothing of the product is left" : "SOMETHING IS LEFT");
  return gone && g_failures == 0 ? 0 : 1;
}

}  // namespace

int main() {
  g_pictures = command_line::ArgumentAfterProgramName(GetCommandLineA());
  if (g_pictures.empty() || KitDir() == "\\") {
    std::printf("usage: QUENDRAL_KIT_DIR=<medium> demo_walk.exe <picture folder>\n");
    return 2;
  }
  return Walk();
}
