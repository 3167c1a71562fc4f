#pragma once

#include "resources/installer_texts.h"
#include "install/pages/wizard_page.h"

namespace pages {

// Page 2: shows License.txt; "是(&Y) >" accepts, "否(&N)" asks whether to stop.
class LicensePage : public WizardPage {
 public:
  explicit LicensePage(engine::InstallerState& state);

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override { ConfirmCancel(); }
  painting::Decoration PageDecoration() const override {
    return HeaderBand(texts::kLicenceTitle, texts::kLicenceSubtitle);
  }
};

}  // namespace pages
