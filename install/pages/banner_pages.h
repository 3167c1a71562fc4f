// The first and the last page of the wizard, both with the banner picture.
#pragma once

#include "install/pages/wizard_page.h"

namespace pages {

// Page 1: greets the user; Cancel ends the wizard without a question.
class WelcomePage : public WizardPage {
 public:
  WelcomePage();

 protected:
  BOOL OnInitDialog() override;
  bool OnSystemCommand(WPARAM command) override;
  bool OnPaint() override;

 private:
  HICON AppIcon = nullptr;
};

// Page 6: starts the review monitor and, when ticked, the product and its help.
class FinishPage : public WizardPage {
 public:
  FinishPage();
  ~FinishPage() override;

 protected:
  BOOL OnInitDialog() override;
  void ExchangeData(framework::DataExchange& exchange) override;
  HBRUSH OnControlColor(HDC dc, HWND control) override;
  bool OnPaint() override;

 private:
  void Finish();

  HWND HelpBox = nullptr;
  HWND LaunchBox = nullptr;
  HBRUSH WhiteBrush;
};

}  // namespace pages
