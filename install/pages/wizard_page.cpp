#include "install/pages/wizard_page.h"

#include "common/painting/page_painting.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "resources/install_ids.h"
#include "common/platform/user_interface.h"

namespace pages {

BOOL WizardPage::OnInitDialog() {
  ModalDialog::OnInitDialog();
  platform::SetWindowTextGbk(Window(), app::WizardCaption);
  return TRUE;
}

void WizardPage::GoBack() {
  app::WizardDirection = app::kDirectionBack;
  OnOK();
}

void WizardPage::GoNext() {
  app::WizardDirection = app::kDirectionNext;
  OnOK();
}

bool WizardPage::UserWantsToStop() {
  return platform::MessageBoxGbk(Window(), app::kStopInstallQuestion, app::WizardCaption, app::kQuestionBox) != IDNO;
}

void WizardPage::ConfirmCancel() {
  if (UserWantsToStop()) EndPage(IDCANCEL);
}

void WizardPage::FocusControl(int id) { SetFocus(GetDlgItem(Window(), id)); }

bool WizardPage::PaintHeaderBand(const char* title, const char* subtitle) {
  // Loaded from the resources on every paint; a resource icon is shared, not destroyed.
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
  painting::HeaderBand(Window(), title, subtitle, icon);
  return true;
}

bool WizardPage::PaintBannerPage(const char* title, const char* body) {
  painting::BannerPage(Window(), title, body);
  return true;
}

}  // namespace pages
