#include "install/app/installer_app.h"
#include "install/app/page_sequence.h"
#include "install/pages/destination_page.h"
#include "install/pages/finish_page.h"
#include "install/pages/license_page.h"
#include "install/pages/progress_page.h"
#include "install/pages/summary_page.h"
#include "install/pages/welcome_page.h"

namespace app {

namespace {
template <class Page>
PageFactory Make(engine::InstallerState& state) {
  return [&state] { return std::make_unique<Page>(state); };
}
}  // namespace

int RunWizard(engine::InstallerState& state) {
  const std::vector<PageFactory> pages = {Make<pages::WelcomePage>(state),     Make<pages::LicensePage>(state),
                                          Make<pages::DestinationPage>(state), Make<pages::SummaryPage>(state),
                                          Make<pages::ProgressPage>(state),    Make<pages::FinishPage>(state)};
  return RunPageSequence(pages, state.WizardDirection);
}

int RunUnattendedInstall(engine::InstallerState& state) {
  pages::ProgressPage page(state);
  return page.RunHidden() == IDOK ? 1 : 0;
}

}  // namespace app
