#include "install/pages/destination_page.h"

#include <shlobj.h>

#include "common/gbk/gbk_search.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "install/pages/free_space_root.h"
#include "resources/install_ids.h"

namespace pages {

namespace {

constexpr unsigned long long kMinimumFreeBytes = 16ull * 1024 * 1024;

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0) {
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
  }
  return 0;
}

}  // namespace

bool HasRoomForInstall(const std::string& folder) {
  const auto root = FreeSpaceRoot(folder);
  if (!root) return false;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0;
  if (!GetDiskFreeSpaceA(root->c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, nullptr)) {
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
  SetWindowTextA(FolderText, app::TargetDir.c_str());
  FocusControl(IDC_NEXT);
  return FALSE;
}

void DestinationPage::Next() {
  if (!HasRoomForInstall(app::TargetDir)) {
    MessageBoxA(Window(), app::kNoRoomOnDrive, app::WizardCaption, app::kErrorBox);
    return;
  }
  app::WizardDirection = app::kDirectionNext;
  // Default folders that start-up made and that are not part of the chosen folder go
  // again (a substring test, last first); a folder that is not empty stays on disk.
  auto& created = app::CreatedDirs;
  for (auto entry = created.size(); entry-- > 0;) {
    if (!gbk::Contains(app::TargetDir, created[entry])) {
      RemoveDirectoryA(created[entry].c_str());
      created.erase(created.begin() + static_cast<std::ptrdiff_t>(entry));
    }
  }
  OnOK();
}

void DestinationPage::Browse() {
  // The shell's folder browser needs COM on this thread for the time it is open.
  const HRESULT com = CoInitialize(nullptr);
  LPITEMIDLIST desktop = nullptr;
  if (SHGetSpecialFolderLocation(Window(), CSIDL_DESKTOP, &desktop) == S_OK) {
    char current[MAX_PATH] = "";
    GetWindowTextA(FolderText, current, MAX_PATH);
    char displayName[MAX_PATH] = "";
    BROWSEINFOA browse{};
    browse.hwndOwner = Window();
    browse.pidlRoot = desktop;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = app::kBrowseTitle;
    browse.ulFlags = 0;
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(current);
    if (LPITEMIDLIST chosen = SHBrowseForFolderA(&browse)) {
      char path[MAX_PATH] = "";
      if (!SHGetPathFromIDListA(chosen, path)) {
        MessageBoxA(Window(), app::kInvalidFolder, app::WizardCaption, app::kErrorBox);
      } else {
        SetWindowTextA(FolderText, path);
        app::TargetDir = path;
      }
      CoTaskMemFree(chosen);
    }
    CoTaskMemFree(desktop);
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

bool DestinationPage::OnPaint() { return PaintHeaderBand(app::kDestinationTitle, app::kDestinationSubtitle); }

}  // namespace pages
