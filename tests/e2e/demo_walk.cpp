// The demo's walk through the kit without a person: installs the sample medium with the
// wizard and removes it with the uninstaller, saving a picture of the screen at every
// page. The medium is the one QUENDRAL_KIT_DIR names; the argument is the picture folder.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "e2e_driver/held_worker.h"
#include "e2e_driver/kit.h"
#include "e2e_driver/screen.h"
#include "common/command_line/command_line.h"

namespace {

using namespace e2e;

std::string g_pictures;
int g_failures = 0;

void Picture(const char* name) {
  Sleep(400);  // let the page finish painting
  const bool saved = SaveScreen(g_pictures + "\\" + name + ".bmp");
  std::printf("%-20s %s\n", name, saved ? "saved" : "NOT SAVED");
  if (!saved) ++g_failures;
}

HWND Expect(HWND window, const char* what) {
  if (window == nullptr) {
    std::printf("%-20s did not appear\n", what);
    ++g_failures;
  }
  return window;
}

// The sample medium copies in milliseconds. The worker is held from its first change on
// and let on a change at a time until the bar is part-way with a file name on the status
// line, and held for the picture.
void PictureOfTheCopyPartWay(Installer& installer, HeldWorker& worker) {
  const bool caught = worker.Catch(kDefaultWaitMs);
  HWND progress = installer.WaitForPage(Page::kProgress);
  if (!caught || progress == nullptr) {
    Expect(nullptr, "5-progress part-way");
    return;
  }
  HWND status = GetDlgItem(progress, IDC_STATUS_TEXT);
  const std::string templateText = WindowText(status);  // shown until the first file
  const ULONGLONG deadline = GetTickCount64() + kDefaultWaitMs;
  while (GetTickCount64() < deadline) {
    const int position = ProgressPosition(progress);
    // The range too is set by the worker, after it is caught.
    if (position > 0 && position < ProgressMaximum(progress) && WindowText(status) != templateText) {
      Picture("5-progress");
      worker.Release();
      return;
    }
    if (!worker.Step()) break;  // the worker has ended
  }
  worker.Release();
  Expect(nullptr, "5-progress part-way");
}

int Walk() {
  Installer installer(KitDir() + "install.exe");
  struct Step {
    Page page;
    const char* name;
  };
  std::unique_ptr<HeldWorker> worker;
  for (const Step& step : {Step{Page::kWelcome, "1-welcome"}, Step{Page::kLicence, "2-licence"},
                           Step{Page::kDestination, "3-destination"}, Step{Page::kSummary, "4-summary"}}) {
    HWND page = Expect(installer.WaitForPage(step.page), step.name);
    if (page == nullptr) return 1;
    Picture(step.name);
    if (step.page == Page::kSummary) worker = std::make_unique<HeldWorker>(installer.process().Id());
    Press(page, IDC_NEXT);
  }
  PictureOfTheCopyPartWay(installer, *worker);
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
  if (g_pictures.empty() || KitDir().empty()) {
    std::printf("usage: QUENDRAL_KIT_DIR=<medium> demo_walk.exe <picture folder>\n");
    return 2;
  }
  // The walk runs inside Wine's desktop program, whose exit code is not the walk's: the
  // result goes to a file beside the pictures.
  const int result = Walk();
  std::FILE* out = std::fopen((g_pictures + "\\walk-result").c_str(), "w");
  if (out != nullptr) {
    std::fprintf(out, "%d\n", result);
    std::fclose(out);
  }
  return result;
}
