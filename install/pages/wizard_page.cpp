#include "install/pages/wizard_page.h"

#include "common/painting/page_painting.h"
#include "product/product_facts.h"
#include "resources/installer_texts.h"
#include "resources/install_ids.h"
#include "common/platform/user_interface.h"

namespace pages {

BOOL WizardPage::OnInitDialog() {
  ModalDialog::OnInitDialog();
  platform::SetWindowTextGbk(Window(), product::WizardCaption);
  painting::ExposeTexts(Window(), PageDecoration());
  return TRUE;
}

bool WizardPage::OnPaint() {
  painting::Paint(Window(), PageDecoration());
  return true;
}

void WizardPage::GoBack() {
  State().WizardDirection = framework::kDirectionBack;
  OnOK();
}

void WizardPage::GoNext() {
  State().WizardDirection = framework::kDirectionNext;
  OnOK();
}

bool WizardPage::UserWantsToStop() {
  return platform::MessageBoxGbk(Window(), texts::kStopInstallQuestion, product::WizardCaption, texts::kQuestionBox) !=
         IDNO;
}

void WizardPage::ConfirmCancel() {
  if (UserWantsToStop()) EndPage(IDCANCEL);
}

void WizardPage::FocusControl(int id) { SetFocus(GetDlgItem(Window(), id)); }

painting::Decoration WizardPage::HeaderBand(const char* title, const char* subtitle) {
  // A resource icon is shared, never destroyed.
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
  return {painting::Decoration::Kind::kHeaderBand, title, subtitle, icon};
}

painting::Decoration WizardPage::BannerPage(const char* title, const char* body) {
  return {painting::Decoration::Kind::kBannerPage, title, body};
}

}  // namespace pages
