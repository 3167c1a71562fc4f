#pragma once

#include "install/app/installer_texts.h"
#include "install/pages/wizard_page.h"

namespace pages {

// Page 2: shows License.txt; "是(&Y) >" accepts, "否(&N)" asks whether to stop.
class LicensePage : public WizardPage {
 public:
  LicensePage();

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override { ConfirmCancel(); }
  painting::Decoration PageDecoration() const override { return HeaderBand(app::kLicenceTitle, app::kLicenceSubtitle); }
};

}  // namespace pages
