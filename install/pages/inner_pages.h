// The three inner pages that only show and choose: licence, destination and summary.
#pragma once

#include <string>

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

// Page 3: shows the install folder, lets the user browse for another one and refuses to
// go on without 16 MiB free on its drive.
class DestinationPage : public WizardPage {
 public:
  DestinationPage();

 protected:
  BOOL OnInitDialog() override;
  void ExchangeData(framework::DataExchange& exchange) override;
  void OnCancel() override { ConfirmCancel(); }
  bool OnPaint() override;

 private:
  void Next();
  void Browse();

  HWND FolderText = nullptr;
};

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
