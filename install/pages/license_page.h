#pragma once

#include "install/pages/wizard_page.h"

namespace pages {

// Page 2: shows License.txt; "是(&Y) >" accepts, "否(&N)" asks whether to stop.
class LicensePage : public WizardPage {
 public:
  LicensePage();

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override { ConfirmCancel(); }
  bool OnPaint() override;
};

}  // namespace pages
