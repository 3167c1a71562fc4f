#pragma once

#include <string>

#include "resources/installer_texts.h"
#include "install/pages/wizard_page.h"

namespace pages {

// Page 4: shows the install folder once more before the copy starts.
class SummaryPage : public WizardPage {
 public:
  explicit SummaryPage(engine::InstallerState& state);

 protected:
  BOOL OnInitDialog() override;
  void ExchangeData(framework::DataExchange& exchange) override;
  void OnCancel() override { ConfirmCancel(); }
  painting::Decoration PageDecoration() const override {
    return HeaderBand(texts::kSummaryTitle, texts::kSummarySubtitle);
  }

 private:
  std::string SettingsText;
};

}  // namespace pages
