#include "product/product_facts.h"
#include "install/pages/destination_page.h"

#include <shlobj.h>

#include "common/gbk/gbk_search.h"
#include "resources/installer_texts.h"
#include "common/gbk/free_space_root.h"
#include "resources/install_ids.h"
#include "common/platform/files.h"
#include "common/platform/shell.h"
#include "common/platform/user_interface.h"

namespace pages {

namespace {

constexpr unsigned long long kMinimumFreeBytes = 16ull * 1024 * 1024;

}  // namespace

bool HasRoomForInstall(const std::string& folder) {
  const auto root = gbk::FreeSpaceRoot(folder);
  if (!root) return false;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0;
  if (!platform::GetDiskFreeSpaceGbk(*root, sectorsPerCluster, bytesPerSector, freeClusters)) {
    return false;
  }
  const unsigned long long freeBytes =
      static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector * freeClusters;
  return freeBytes >= kMinimumFreeBytes;
}

DestinationPage::DestinationPage(engine::InstallerState& state) : WizardPage(IDD_DESTINATION, state) {
  OnCommandId(IDC_NEXT, [this] { Next(); });
  OnCommandId(IDC_BACK, [this] { GoBack(); });
  OnCommandId(IDC_BROWSE, [this] { Browse(); });
}

void DestinationPage::ExchangeData(framework::DataExchange& exchange) { exchange.Control(IDC_FOLDER_TEXT, FolderText); }

BOOL DestinationPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  platform::SetWindowTextGbk(FolderText, State().TargetDir);
  FocusControl(IDC_NEXT);
  return FALSE;
}

void DestinationPage::Next() {
  if (!HasRoomForInstall(State().TargetDir)) {
    platform::MessageBoxGbk(Window(), texts::kNoRoomOnDrive, product::WizardCaption, texts::kErrorBox);
    return;
  }
  State().WizardDirection = framework::kDirectionNext;
  // Default folders that start-up made and that are not part of the chosen folder go
  // again (a substring test, last first); a folder that is not empty stays on disk.
  auto& created = State().CreatedDirs;
  for (auto entry = created.size(); entry-- > 0;) {
    if (!gbk::Contains(State().TargetDir, created[entry])) {
      platform::RemoveDirectoryGbk(created[entry]);
      created.erase(created.begin() + static_cast<std::ptrdiff_t>(entry));
    }
  }
  OnOK();
}

void DestinationPage::Browse() {
  // The shell's folder browser needs COM on this thread for the time it is open.
  const HRESULT com = CoInitialize(nullptr);
  const platform::BrowsedFolder folder =
      platform::BrowseForFolderGbk(Window(), texts::kBrowseTitle, platform::GetWindowTextGbk(FolderText));
  if (folder.chosen && !folder.path) {
    // No file-system folder, or one GBK cannot name: the install folder is kept in GBK.
    platform::MessageBoxGbk(Window(), texts::kInvalidFolder, product::WizardCaption, texts::kErrorBox);
  } else if (folder.chosen) {
    platform::SetWindowTextGbk(FolderText, *folder.path);
    State().TargetDir = *folder.path;
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace pages
