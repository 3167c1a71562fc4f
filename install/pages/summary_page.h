#pragma once

#include <string>

#include "install/app/installer_texts.h"
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
  painting::Decoration PageDecoration() const override { return HeaderBand(app::kSummaryTitle, app::kSummarySubtitle); }

 private:
  std::string SettingsText;
};

}  // namespace pages
