#pragma once

#include <string>

#include "install/pages/wizard_page.h"

namespace pages {

// Page 4: shows the install folder once more before the copy starts.
class SummaryPage : public WizardPage {
 public:
  SummaryPage();

 protected:
  BOOL OnInitDialog() override;
  void ExchangeData(framework::DataExchange& exchange) override;
  void OnCancel() override { ConfirmCancel(); }
  bool OnPaint() override;

 private:
  std::string SettingsText;
};

}  // namespace pages
