#include "install/pages/summary_page.h"

#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "resources/install_ids.h"

namespace pages {

SummaryPage::SummaryPage() : WizardPage(IDD_SUMMARY) {
  OnCommandId(IDC_NEXT, [this] { GoNext(); });
  OnCommandId(IDC_BACK, [this] { GoBack(); });
}

void SummaryPage::ExchangeData(framework::DataExchange& exchange) { exchange.Text(IDC_TEXT_BOX, SettingsText); }

BOOL SummaryPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  SettingsText = app::kSummaryFolderLabel + app::TargetDir;
  PushData();
  FocusControl(IDC_NEXT);
  return FALSE;
}


}  // namespace pages
