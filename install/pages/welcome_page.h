#pragma once

#include "resources/installer_texts.h"
#include "install/pages/wizard_page.h"

namespace pages {

// Page 1: greets the user; Cancel ends the wizard without a question.
class WelcomePage : public WizardPage {
 public:
  explicit WelcomePage(engine::InstallerState& state);

 protected:
  BOOL OnInitDialog() override;
  bool OnSystemCommand(WPARAM command) override;
  painting::Decoration PageDecoration() const override { return BannerPage(texts::kWelcomeTitle, texts::kWelcomeBody); }

 private:
  HICON AppIcon = nullptr;
};

}  // namespace pages
