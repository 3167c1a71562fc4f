#include "install/pages/wizard_page.h"

#include "common/painting/page_painting.h"
#include "install/app/installer_state.h"

namespace pages {

BOOL WizardPage::OnInitDialog() {
  ModalDialog::OnInitDialog();
  SetWindowTextA(Window(), installer::WizardCaption);
  return TRUE;
}

void WizardPage::GoBack() {
  installer::WizardDirection = wizard::kDirectionBack;
  OnOK();
}

void WizardPage::GoNext() {
  installer::WizardDirection = wizard::kDirectionNext;
  OnOK();
}

void WizardPage::ConfirmCancel() {
  if (MessageBoxA(Window(), "您真的想停止安装吗?", installer::WizardCaption,
                  installer::kQuestionBox) == IDNO) {
    return;
  }
  EndPage(IDCANCEL);
}

void WizardPage::FocusControl(int id) { SetFocus(GetDlgItem(Window(), id)); }

bool WizardPage::PaintHeaderBand(const char* title, const char* subtitle) {
  // Loaded from the resources on every paint; a resource icon is shared, not destroyed.
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100));
  painting::HeaderBand(Window(), title, subtitle, icon);
  return true;
}

bool WizardPage::PaintBannerPage(const char* title, const char* body) {
  painting::BannerPage(Window(), title, body);
  return true;
}

}  // namespace pages
