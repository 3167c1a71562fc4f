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
  const painting::Decoration decoration = PageDecoration();
  painting::ExposeTexts(Window(), decoration);
  if (decoration.kind == painting::Decoration::Kind::kBannerPage) {
    painting::ScaleBanner(Window(), {IDB_BANNER, IDB_BANNER_125, IDB_BANNER_150, IDB_BANNER_175, IDB_BANNER_200});
  }
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
  return {painting::Decoration::Kind::kHeaderBand, title, subtitle, IDI_APP};
}

painting::Decoration WizardPage::BannerPage(const char* title, const char* body) {
  return {painting::Decoration::Kind::kBannerPage, title, body};
}

}  // namespace pages
