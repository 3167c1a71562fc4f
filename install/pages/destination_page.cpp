#include "install/pages/destination_page.h"

#include <shlobj.h>

#include "common/gbk/gbk_search.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "install/pages/free_space_root.h"
#include "resources/install_ids.h"
#include "common/platform/files.h"
#include "common/platform/shell.h"
#include "common/platform/user_interface.h"

namespace pages {

namespace {

constexpr unsigned long long kMinimumFreeBytes = 16ull * 1024 * 1024;

}  // namespace

bool HasRoomForInstall(const std::string& folder) {
  const auto root = FreeSpaceRoot(folder);
  if (!root) return false;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0;
  if (!platform::GetDiskFreeSpaceGbk(*root, sectorsPerCluster, bytesPerSector, freeClusters)) {
    return false;
  }
  const unsigned long long freeBytes =
      static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector * freeClusters;
  return freeBytes >= kMinimumFreeBytes;
}

DestinationPage::DestinationPage() : WizardPage(IDD_DESTINATION) {
  OnCommandId(IDC_NEXT, [this] { Next(); });
  OnCommandId(IDC_BACK, [this] { GoBack(); });
  OnCommandId(IDC_BROWSE, [this] { Browse(); });
}

void DestinationPage::ExchangeData(framework::DataExchange& exchange) { exchange.Control(IDC_FOLDER_TEXT, FolderText); }

BOOL DestinationPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  platform::SetWindowTextGbk(FolderText, app::TargetDir);
  FocusControl(IDC_NEXT);
  return FALSE;
}

void DestinationPage::Next() {
  if (!HasRoomForInstall(app::TargetDir)) {
    platform::MessageBoxGbk(Window(), app::kNoRoomOnDrive, app::WizardCaption, app::kErrorBox);
    return;
  }
  app::WizardDirection = app::kDirectionNext;
  // Default folders that start-up made and that are not part of the chosen folder go
  // again (a substring test, last first); a folder that is not empty stays on disk.
  auto& created = app::CreatedDirs;
  for (auto entry = created.size(); entry-- > 0;) {
    if (!gbk::Contains(app::TargetDir, created[entry])) {
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
      platform::BrowseForFolderGbk(Window(), app::kBrowseTitle, platform::GetWindowTextGbk(FolderText));
  if (folder.chosen && !folder.path) {
    // No file-system folder, or one GBK cannot name: the install folder is kept in GBK.
    platform::MessageBoxGbk(Window(), app::kInvalidFolder, app::WizardCaption, app::kErrorBox);
  } else if (folder.chosen) {
    platform::SetWindowTextGbk(FolderText, *folder.path);
    app::TargetDir = *folder.path;
  }
  if (SUCCEEDED(com)) CoUninitialize();
}


}  // namespace pages
