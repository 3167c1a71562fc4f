// The demo's walk through the kit without a person: installs the sample medium with the
// wizard and removes it with the uninstaller, saving a picture of the screen at every
// page. The medium is the one QUENDRAL_KIT_DIR names; the argument is the picture folder.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <set>
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

// The threads of a process, by id.
std::set<DWORD> ThreadsOf(DWORD processId) {
  std::set<DWORD> threads;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return threads;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == processId) threads.insert(entry.th32ThreadID);
  }
  CloseHandle(snapshot);
  return threads;
}

// The sample medium copies in milliseconds. From Next on the summary page on, the worker
// (the thread that appears then) is held and let on a moment at a time until the bar is
// part-way with a file name on the status line, and held for the picture.
void PictureOfTheCopyPartWay(Installer& installer, const std::set<DWORD>& threadsBefore) {
  const DWORD processId = installer.process().Id();
  HANDLE worker = nullptr;
  const ULONGLONG deadline = GetTickCount64() + 10000;
  while (worker == nullptr && GetTickCount64() < deadline) {
    for (DWORD thread : ThreadsOf(processId)) {
      if (threadsBefore.count(thread) == 0) worker = OpenThread(THREAD_SUSPEND_RESUME | SYNCHRONIZE, FALSE, thread);
    }
  }
  while (worker != nullptr && GetTickCount64() < deadline) {
    SuspendThread(worker);
    HWND progress = installer.WaitForPage(Page::kProgress, 0);
    const int position = progress != nullptr ? ProgressPosition(progress) : 0;
    if (position > 0 && position < ProgressMaximum(progress) &&
        !WindowText(GetDlgItem(progress, IDC_STATUS_TEXT)).empty()) {
      Picture("5-progress");
      ResumeThread(worker);
      CloseHandle(worker);
      return;
    }
    ResumeThread(worker);
    if (WaitForSingleObject(worker, 0) != WAIT_TIMEOUT) break;  // the worker has ended
    SwitchToThread();
  }
  if (worker != nullptr) CloseHandle(worker);
  Expect(nullptr, "5-progress part-way");
}

int Walk() {
  Installer installer(KitDir() + "install.exe");
  struct Step {
    Page page;
    const char* name;
  };
  std::set<DWORD> threadsBefore;
  for (const Step& step : {Step{Page::kWelcome, "1-welcome"}, Step{Page::kLicence, "2-licence"},
                           Step{Page::kDestination, "3-destination"}, Step{Page::kSummary, "4-summary"}}) {
    HWND page = Expect(installer.WaitForPage(step.page), step.name);
    if (page == nullptr) return 1;
    Picture(step.name);
    threadsBefore = ThreadsOf(installer.process().Id());
    Press(page, IDC_NEXT);
  }
  PictureOfTheCopyPartWay(installer, threadsBefore);
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
