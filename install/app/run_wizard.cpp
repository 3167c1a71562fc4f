#include "install/app/installer_app.h"
#include "install/app/installer_state.h"
#include "install/app/page_sequence.h"
#include "install/pages/banner_pages.h"
#include "install/pages/inner_pages.h"
#include "install/pages/progress_page.h"

namespace installer {

namespace {
template <class Page>
wizard::PageFactory Make() {
  return [] { return std::make_unique<Page>(); };
}
}  // namespace

int RunWizard() {
  static const std::vector<wizard::PageFactory> kPages = {
      Make<pages::WelcomePage>(), Make<pages::LicensePage>(),  Make<pages::DestinationPage>(),
      Make<pages::SummaryPage>(), Make<pages::ProgressPage>(), Make<pages::FinishPage>()};
  return wizard::RunPageSequence(kPages, WizardDirection);
}

}  // namespace installer
