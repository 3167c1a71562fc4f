#include "install/pages/finish_page.h"

#include <shellapi.h>

#include <string>

#include "install/engine/diagnostic_log.h"
#include "resources/installer_texts.h"
#include "product/product_facts.h"
#include "resources/install_ids.h"
#include "common/platform/desktop_shell.h"
#include "common/platform/files.h"
#include "common/platform/process.h"
#include "common/platform/shell.h"

namespace pages {

namespace {

// The installer runs elevated; what it starts for the user runs as the user, started by
// the desktop's shell. Without a shell desktop it starts as it always did, and says so.
// A missing file is not handed to the shell, which would tell the user: it starts nothing,
// silently, as it always did. False when the caller is to start it itself.
bool OpenAsUser(const std::string& path, bool waitUntilIdle) {
  if (platform::GetFileAttributesGbk(path) == INVALID_FILE_ATTRIBUTES) return true;
  if (platform::OpenAsDesktopUserGbk(path, waitUntilIdle)) return true;
  engine::Diagnose("no shell desktop: " + path + " is started with the installer's rights");
  return false;
}

// A program of the install folder; without the shell its path is quoted, so that a folder
// with blanks (under "Program Files") can never start "C:\Program.exe" instead.
void StartInstalledProgram(const std::string& targetDir, const char* program) {
  const std::string path = targetDir + "\\" + program;
  if (!OpenAsUser(path, true)) platform::WinExecGbk("\"" + path + "\"");
}

}  // namespace

FinishPage::FinishPage(engine::InstallerState& state)
    : WizardPage(IDD_FINISH, state), WhiteBrush(CreateSolidBrush(RGB(255, 255, 255))) {
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
  State().WizardDirection = framework::kDirectionNext;
  // The review monitor always starts; the product and its help only when ticked.
  StartInstalledProgram(State().TargetDir, product::kReviewMonitorProgram);
  if (SendMessageW(LaunchBox, BM_GETCHECK, 0, 0) != 0) StartInstalledProgram(State().TargetDir, product::kMainProgram);
  if (SendMessageW(HelpBox, BM_GETCHECK, 0, 0) != 0) {
    const std::string helpFile = State().TargetDir + "\\" + product::kHelpFile;
    if (!OpenAsUser(helpFile, false)) platform::ShellExecuteGbk(Window(), helpFile);
  }
  OnOK();
}

}  // namespace pages
