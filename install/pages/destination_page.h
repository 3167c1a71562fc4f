#pragma once

#include <string>

#include "resources/installer_texts.h"
#include "install/pages/wizard_page.h"

namespace pages {

// Whether the drive (or share) of `folder` has the 16 MiB an install needs.
bool HasRoomForInstall(const std::string& folder);

// Page 3: shows the install folder, lets the user browse for another one and refuses to
// go on without 16 MiB free on its drive.
class DestinationPage : public WizardPage {
 public:
  explicit DestinationPage(engine::InstallerState& state);

 protected:
  BOOL OnInitDialog() override;
  void ExchangeData(framework::DataExchange& exchange) override;
  void OnCancel() override { ConfirmCancel(); }
  painting::Decoration PageDecoration() const override {
    return HeaderBand(texts::kDestinationTitle, texts::kDestinationSubtitle);
  }

 private:
  void Next();
  void Browse();

  HWND FolderText = nullptr;
};

}  // namespace pages
