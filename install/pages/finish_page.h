#pragma once

#include "install/app/installer_texts.h"
#include "install/pages/wizard_page.h"

namespace pages {

// Page 6: starts the review monitor and, when ticked, the product and its help.
class FinishPage : public WizardPage {
 public:
  FinishPage();
  ~FinishPage() override;

 protected:
  BOOL OnInitDialog() override;
  void ExchangeData(framework::DataExchange& exchange) override;
  HBRUSH OnControlColor(HDC dc, HWND control) override;
  painting::Decoration PageDecoration() const override { return BannerPage(app::kFinishTitle, app::kFinishBody); }

 private:
  void Finish();

  HWND HelpBox = nullptr;
  HWND LaunchBox = nullptr;
  HBRUSH WhiteBrush;
};

}  // namespace pages
