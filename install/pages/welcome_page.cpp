#include "install/pages/welcome_page.h"

#include "resources/installer_texts.h"
#include "resources/install_ids.h"

namespace pages {

namespace {

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

WelcomePage::WelcomePage(engine::InstallerState& state)
    : WizardPage(IDD_WELCOME, state), AppIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ABOUT))) {
  OnCommandId(IDC_BACK, [this] { GoBack(); });
  OnCommandId(IDC_NEXT, [this] { GoNext(); });
}

BOOL WelcomePage::OnInitDialog() {
  WizardPage::OnInitDialog();
  if (HMENU systemMenu = GetSystemMenu(Window(), FALSE)) {
    // The string resource is Unicode already: it goes to the menu as it is.
    wchar_t aboutText[128] = L"";
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUT_MENU, aboutText, 128) > 0) {
      AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(systemMenu, MF_STRING, IDM_ABOUT, aboutText);
    }
  }
  SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(AppIcon));
  SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(AppIcon));
  EnableWindow(GetDlgItem(Window(), IDC_BACK), FALSE);
  FocusControl(IDC_NEXT);
  return FALSE;
}

bool WelcomePage::OnSystemCommand(WPARAM command) {
  if ((command & 0xFFF0) != IDM_ABOUT) return false;
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), Window(), AboutBoxProc, 0);
  return true;
}

}  // namespace pages
