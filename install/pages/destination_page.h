#pragma once

#include <string>

#include "install/app/installer_texts.h"
#include "install/pages/wizard_page.h"

namespace pages {

// Whether the drive (or share) of `folder` has the 16 MiB an install needs.
bool HasRoomForInstall(const std::string& folder);

// Page 3: shows the install folder, lets the user browse for another one and refuses to
// go on without 16 MiB free on its drive.
class DestinationPage : public WizardPage {
 public:
  DestinationPage();

 protected:
  BOOL OnInitDialog() override;
  void ExchangeData(framework::DataExchange& exchange) override;
  void OnCancel() override { ConfirmCancel(); }
  painting::Decoration PageDecoration() const override { return HeaderBand(app::kDestinationTitle, app::kDestinationSubtitle); }

 private:
  void Next();
  void Browse();

  HWND FolderText = nullptr;
};

}  // namespace pages
