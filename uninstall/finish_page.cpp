#include "common/painting/page_painting.h"
#include "resources/uninstall_ids.h"
#include "uninstall/uninstaller.h"
#include "uninstall/uninstaller_texts.h"

namespace uninstall {

namespace {

const painting::Decoration kFinishDecoration{painting::Decoration::Kind::kBannerPage, kFinishTitle, kFinishBody};

// Only Finish and the close box end the page: IDOK and IDCANCEL are not handled, so
// Escape and Enter (without the focus on Finish) leave it open.
INT_PTR CALLBACK FinishPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      EnableWindow(GetDlgItem(page, IDC_UNINSTALL_BACK), FALSE);
      EnableWindow(GetDlgItem(page, IDCANCEL), FALSE);
      painting::ExposeTexts(page, kFinishDecoration);
      painting::ScaleBanner(page, {IDB_UNINSTALL_BANNER, IDB_UNINSTALL_BANNER_125, IDB_UNINSTALL_BANNER_150,
                                   IDB_UNINSTALL_BANNER_175, IDB_UNINSTALL_BANNER_200});
      return TRUE;
    case WM_PAINT: painting::Paint(page, kFinishDecoration); return TRUE;
    case WM_COMMAND:
      if (wParam != IDC_UNINSTALL_FINISH) return FALSE;
      EndDialog(page, 1);
      return TRUE;
    case WM_CLOSE: EndDialog(page, 1); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void ShowFinishPage() {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_UNINSTALL_FINISH), nullptr, FinishPageProc, 0);
}

}  // namespace uninstall
