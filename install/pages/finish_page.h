#pragma once

#include "resources/installer_texts.h"
#include "install/pages/wizard_page.h"

namespace pages {

// Page 6: starts the review monitor and, when ticked, the product and its help.
class FinishPage : public WizardPage {
 public:
  explicit FinishPage(engine::InstallerState& state);
  ~FinishPage() override;

 protected:
  BOOL OnInitDialog() override;
  void ExchangeData(framework::DataExchange& exchange) override;
  HBRUSH OnControlColor(HDC dc, HWND control) override;
  painting::Decoration PageDecoration() const override { return BannerPage(texts::kFinishTitle, texts::kFinishBody); }

 private:
  void Finish();

  HWND HelpBox = nullptr;
  HWND LaunchBox = nullptr;
  HBRUSH WhiteBrush;
};

}  // namespace pages
