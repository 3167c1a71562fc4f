#include "install/pages/finish_page.h"

#include <shellapi.h>

#include <string>

#include "install/app/diagnostic_log.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "product/product_facts.h"
#include "resources/install_ids.h"
#include "common/platform/desktop_shell.h"
#include "common/platform/process.h"
#include "common/platform/shell.h"

namespace pages {

namespace {

// The installer runs elevated; what it starts for the user runs as the user, started by
// the desktop's shell. Without a shell desktop it starts as it always did, and says so.
bool OpenAsUser(const std::string& path, bool waitUntilIdle) {
  if (platform::OpenAsDesktopUserGbk(path, waitUntilIdle)) return true;
  app::Diagnose("no shell desktop: " + path + " is started with the installer's rights");
  return false;
}

// A program of the install folder; without the shell its path is quoted, so that a folder
// with blanks (under "Program Files") can never start "C:\Program.exe" instead.
void StartInstalledProgram(const char* program) {
  const std::string path = app::TargetDir + "\\" + program;
  if (!OpenAsUser(path, true)) platform::WinExecGbk("\"" + path + "\"");
}

}  // namespace

FinishPage::FinishPage() : WizardPage(IDD_FINISH), WhiteBrush(CreateSolidBrush(RGB(255, 255, 255))) {
  OnCommandId(IDC_BACK, [this] { GoBack(); });
  OnCommandId(IDC_NEXT, [this] { Finish(); });
}

FinishPage::~FinishPage() { DeleteObject(WhiteBrush); }

void FinishPage::ExchangeData(framework::DataExchange& exchange) {
  exchange.Control(IDC_HELP_BOX, HelpBox);
  exchange.Control(IDC_LAUNCH_BOX, LaunchBox);
}

BOOL FinishPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  EnableWindow(GetDlgItem(Window(), IDC_BACK), FALSE);
  EnableWindow(GetDlgItem(Window(), IDCANCEL), FALSE);
  SendMessageW(LaunchBox, BM_SETCHECK, BST_CHECKED, 0);
  FocusControl(IDC_NEXT);
  return FALSE;
}

HBRUSH FinishPage::OnControlColor(HDC dc, HWND control) {
  if (control != LaunchBox && control != HelpBox) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  return WhiteBrush;
}

void FinishPage::Finish() {
  app::WizardDirection = app::kDirectionNext;
  // The review monitor always starts; the product and its help only when ticked.
  StartInstalledProgram(product::kReviewMonitorProgram);
  if (SendMessageW(LaunchBox, BM_GETCHECK, 0, 0) != 0) StartInstalledProgram(product::kMainProgram);
  if (SendMessageW(HelpBox, BM_GETCHECK, 0, 0) != 0) {
    const std::string helpFile = app::TargetDir + "\\" + product::kHelpFile;
    if (!OpenAsUser(helpFile, false)) platform::ShellExecuteGbk(Window(), helpFile);
  }
  OnOK();
}


}  // namespace pages
