#include "install/pages/banner_pages.h"

#include <shellapi.h>

#include <string>

#include "install/app/installer_state.h"
#include "product/product_facts.h"
#include "resources/install_ids.h"

namespace pages {

using installer::TargetDir;

namespace {

constexpr UINT kAboutCommand = 0x0010;

// A program of the install folder, its path quoted so that a folder with blanks (under
// "Program Files") can never start "C:\Program.exe" instead.
void StartInstalledProgram(const char* program) {
  const std::string commandLine = "\"" + TargetDir + "\\" + program + "\"";
  WinExec(commandLine.c_str(), SW_SHOW);
}

// The about box closes on OK, Escape and its close box.
INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(box, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

// ---- Welcome ----------------------------------------------------------------------

WelcomePage::WelcomePage()
    : WizardPage(IDD_WELCOME), AppIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ABOUT))) {
  OnCommandId(IDC_BACK, [this] { GoBack(); });
  OnCommandId(IDC_NEXT, [this] { GoNext(); });
}

BOOL WelcomePage::OnInitDialog() {
  WizardPage::OnInitDialog();
  if (HMENU systemMenu = GetSystemMenu(Window(), FALSE)) {
    char aboutText[128] = "";
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUT_MENU, aboutText, sizeof aboutText) > 0) {
      AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
      AppendMenuA(systemMenu, MF_STRING, kAboutCommand, aboutText);
    }
  }
  SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(AppIcon));
  SendMessageA(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(AppIcon));
  EnableWindow(GetDlgItem(Window(), IDC_BACK), FALSE);
  FocusControl(IDC_NEXT);
  return FALSE;
}

bool WelcomePage::OnSystemCommand(WPARAM command) {
  if ((command & 0xFFF0) != kAboutCommand) return false;
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), Window(), AboutBoxProc, 0);
  return true;
}

bool WelcomePage::OnPaint() {
  return PaintBannerPage("欢迎使用Quendral1.3安装向导",
                         "安装向导将在计算机中安装Quendral。若要继续，请单击“下一步”。");
}

// ---- Finish -----------------------------------------------------------------------

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
  SendMessageA(LaunchBox, BM_SETCHECK, BST_CHECKED, 0);
  FocusControl(IDC_NEXT);
  return FALSE;
}

HBRUSH FinishPage::OnControlColor(HDC dc, HWND control) {
  if (control != LaunchBox && control != HelpBox) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  return WhiteBrush;
}

void FinishPage::Finish() {
  installer::WizardDirection = wizard::kDirectionNext;
  // The review monitor always starts; the product and its help only when ticked.
  StartInstalledProgram(product::kReviewMonitorProgram);
  if (SendMessageA(LaunchBox, BM_GETCHECK, 0, 0) != 0) StartInstalledProgram(product::kMainProgram);
  if (SendMessageA(HelpBox, BM_GETCHECK, 0, 0) != 0) {
    const std::string helpFile = TargetDir + "\\" + product::kHelpFile;
    ShellExecuteA(Window(), "open", helpFile.c_str(), nullptr, nullptr, SW_SHOW);
  }
  OnOK();
}

bool FinishPage::OnPaint() { return PaintBannerPage("安装程序完成安装", "安装向导已完成在计算机中安装Quendral。"); }

}  // namespace pages
