#include "common/painting/page_painting.h"
#include "resources/uninstall_ids.h"
#include "uninstall/uninstaller.h"

namespace uninstaller {

namespace {

// Only Finish and the close box end the page: IDOK and IDCANCEL are not handled, so
// Escape and Enter (without the focus on Finish) leave it open.
INT_PTR CALLBACK FinishPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      EnableWindow(GetDlgItem(page, IDC_UNINSTALL_BACK), FALSE);
      EnableWindow(GetDlgItem(page, IDCANCEL), FALSE);
      return TRUE;
    case WM_PAINT:
      painting::BannerPage(page, "删除程序完成删除", "删除程序已完成在计算机中删除Quendral。");
      return TRUE;
    case WM_COMMAND:
      if (wParam != IDC_UNINSTALL_FINISH) return FALSE;
      EndDialog(page, 1);
      return TRUE;
    case WM_CLOSE:
      EndDialog(page, 1);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowFinishPage() {
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_UNINSTALL_FINISH), nullptr, FinishPageProc, 0);
}

}  // namespace uninstaller
