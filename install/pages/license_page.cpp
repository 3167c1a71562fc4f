#include "install/pages/license_page.h"

#include "common/files/whole_file.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "product/product_facts.h"
#include "resources/install_ids.h"
#include "common/platform/user_interface.h"

namespace pages {

LicensePage::LicensePage() : WizardPage(IDD_LICENSE) {
  OnCommandId(IDC_NEXT, [this] { GoNext(); });
  OnCommandId(IDC_BACK, [this] { GoBack(); });
}

BOOL LicensePage::OnInitDialog() {
  WizardPage::OnInitDialog();
  // Read again at every showing; a missing file leaves the box empty. The text ends at a
  // NUL byte inside the file.
  if (auto licence = files::ReadWholeFile(app::SourceDir + product::kLicenseFile)) {
    platform::SetDlgItemTextGbk(Window(), IDC_TEXT_BOX, *licence);
  }
  FocusControl(IDC_NEXT);
  return FALSE;
}


}  // namespace pages
