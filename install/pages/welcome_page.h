#pragma once

#include "install/app/installer_texts.h"
#include "install/pages/wizard_page.h"

namespace pages {

// Page 1: greets the user; Cancel ends the wizard without a question.
class WelcomePage : public WizardPage {
 public:
  WelcomePage();

 protected:
  BOOL OnInitDialog() override;
  bool OnSystemCommand(WPARAM command) override;
  painting::Decoration PageDecoration() const override { return BannerPage(app::kWelcomeTitle, app::kWelcomeBody); }

 private:
  HICON AppIcon = nullptr;
};

}  // namespace pages
