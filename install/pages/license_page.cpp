#include "install/pages/license_page.h"

#include "resources/installer_texts.h"
#include "product/product_facts.h"
#include "resources/install_ids.h"
#include "common/platform/files.h"
#include "common/platform/user_interface.h"

namespace pages {

LicensePage::LicensePage(engine::InstallerState& state) : WizardPage(IDD_LICENSE, state) {
  OnCommandId(IDC_NEXT, [this] { GoNext(); });
  OnCommandId(IDC_BACK, [this] { GoBack(); });
}

BOOL LicensePage::OnInitDialog() {
  WizardPage::OnInitDialog();
  // Read again at every showing; a missing file leaves the box empty. The text ends at a
  // NUL byte inside the file.
  if (auto licence = platform::ReadWholeFile(State().SourceDir + product::kLicenseFile)) {
    platform::SetDlgItemTextGbk(Window(), IDC_TEXT_BOX, *licence);
  }
  FocusControl(IDC_NEXT);
  return FALSE;
}

}  // namespace pages
