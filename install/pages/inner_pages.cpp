#include "install/pages/inner_pages.h"

#include <shlobj.h>

#include "common/files/whole_file.h"
#include "common/gbk/gbk_search.h"
#include "install/app/installer_state.h"
#include "install/pages/free_space_root.h"
#include "product/product_facts.h"
#include "resources/install_ids.h"

namespace pages {

using installer::TargetDir;
using installer::WizardCaption;

// ---- Licence ----------------------------------------------------------------------

LicensePage::LicensePage() : WizardPage(IDD_LICENSE) {
  OnCommandId(IDC_NEXT, [this] { GoNext(); });
  OnCommandId(IDC_BACK, [this] { GoBack(); });
}

BOOL LicensePage::OnInitDialog() {
  WizardPage::OnInitDialog();
  // Read again at every showing; a missing file leaves the box empty. The text ends at a
  // NUL byte inside the file.
  if (auto licence = files::ReadWholeFile(installer::SourceDir + kit::kLicenseFile)) {
    SetDlgItemTextA(Window(), IDC_TEXT_BOX, licence->c_str());
  }
  FocusControl(IDC_NEXT);
  return FALSE;
}

bool LicensePage::OnPaint() { return PaintHeaderBand("软件使用许可协议", "请仔细阅读本软件使用许可协议"); }

// ---- Destination ------------------------------------------------------------------

namespace {

constexpr unsigned long long kMinimumFreeBytes = 16ull * 1024 * 1024;

bool HasRoomForInstall(const std::string& folder) {
  const auto root = FreeSpaceRoot(folder);
  if (!root) return false;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0;
  if (!GetDiskFreeSpaceA(root->c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, nullptr)) {
    return false;
  }
  const unsigned long long freeBytes = static_cast<unsigned long long>(sectorsPerCluster) *
                                       bytesPerSector * freeClusters;
  return freeBytes >= kMinimumFreeBytes;
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0) {
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
  }
  return 0;
}

}  // namespace

DestinationPage::DestinationPage() : WizardPage(IDD_DESTINATION) {
  OnCommandId(IDC_NEXT, [this] { Next(); });
  OnCommandId(IDC_BACK, [this] { GoBack(); });
  OnCommandId(IDC_BROWSE, [this] { Browse(); });
}

void DestinationPage::ExchangeData(framework::DataExchange& exchange) {
  exchange.Control(IDC_FOLDER_TEXT, FolderText);
}

BOOL DestinationPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  SetWindowTextA(FolderText, TargetDir.c_str());
  FocusControl(IDC_NEXT);
  return FALSE;
}

void DestinationPage::Next() {
  if (!HasRoomForInstall(TargetDir)) {
    MessageBoxA(Window(), "磁盘有效空间不够,将不能安装。请您重新选择安装路径。", WizardCaption,
                installer::kErrorBox);
    return;
  }
  installer::WizardDirection = wizard::kDirectionNext;
  // Default folders that start-up made and that are not part of the chosen folder go
  // again (a substring test, last first); a folder that is not empty stays on disk.
  auto& created = installer::CreatedDirs;
  for (auto entry = created.size(); entry-- > 0;) {
    if (!gbk::Contains(TargetDir, created[entry])) {
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
    browse.lpszTitle = "选择安装目录";
    browse.ulFlags = 0;
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(current);
    if (LPITEMIDLIST chosen = SHBrowseForFolderA(&browse)) {
      char path[MAX_PATH] = "";
      if (!SHGetPathFromIDListA(chosen, path)) {
        MessageBoxA(Window(), "目录路径非法。", WizardCaption, installer::kErrorBox);
      } else {
        SetWindowTextA(FolderText, path);
        TargetDir = path;
      }
      CoTaskMemFree(chosen);
    }
    CoTaskMemFree(desktop);
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

bool DestinationPage::OnPaint() { return PaintHeaderBand("选择目的地位置", "选择安装程序安装文件的文件夹。"); }

// ---- Summary ----------------------------------------------------------------------

SummaryPage::SummaryPage() : WizardPage(IDD_SUMMARY) {
  OnCommandId(IDC_NEXT, [this] { GoNext(); });
  OnCommandId(IDC_BACK, [this] { GoBack(); });
}

void SummaryPage::ExchangeData(framework::DataExchange& exchange) {
  exchange.Text(IDC_TEXT_BOX, SettingsText);
}

BOOL SummaryPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  SettingsText = "安装目录：" + TargetDir;
  PushData();
  FocusControl(IDC_NEXT);
  return FALSE;
}

bool SummaryPage::OnPaint() { return PaintHeaderBand("开始复制文件", "复制文件前请查看设置。"); }

}  // namespace pages
