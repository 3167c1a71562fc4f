#include "install/pages/summary_page.h"

#include "resources/installer_texts.h"
#include "resources/install_ids.h"

namespace pages {

SummaryPage::SummaryPage(engine::InstallerState& state) : WizardPage(IDD_SUMMARY, state) {
  OnCommandId(IDC_NEXT, [this] { GoNext(); });
  OnCommandId(IDC_BACK, [this] { GoBack(); });
}

void SummaryPage::ExchangeData(framework::DataExchange& exchange) { exchange.Text(IDC_TEXT_BOX, SettingsText); }

BOOL SummaryPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  SettingsText = texts::kSummaryFolderLabel + State().TargetDir;
  PushData();
  FocusControl(IDC_NEXT);
  return FALSE;
}

}  // namespace pages
