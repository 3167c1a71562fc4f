#include "install/app/installer_app.h"
#include "install/app/installer_state.h"
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
app::PageFactory Make() {
  return [] { return std::make_unique<Page>(); };
}
}  // namespace

int RunWizard() {
  static const std::vector<app::PageFactory> kPages = {Make<pages::WelcomePage>(),     Make<pages::LicensePage>(),
                                                       Make<pages::DestinationPage>(), Make<pages::SummaryPage>(),
                                                       Make<pages::ProgressPage>(),    Make<pages::FinishPage>()};
  return app::RunPageSequence(kPages, WizardDirection);
}

int RunUnattendedInstall() {
  pages::ProgressPage page;
  return page.RunHidden() == IDOK ? 1 : 0;
}

}  // namespace app
