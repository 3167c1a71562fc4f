#include "common/platform/shell.h"

#include <shellapi.h>

#include "common/platform/gbk_text.h"
#include "common/platform/machine_changes.h"

namespace platform {

namespace {

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM initial) {
  if (message == BFFM_INITIALIZED && initial != 0) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, initial);
  return 0;
}

}  // namespace

BrowsedFolder BrowseForFolderGbk(HWND owner, const std::string& title, const std::string& initial) {
  BrowsedFolder result;
  LPITEMIDLIST desktop = nullptr;
  if (SHGetSpecialFolderLocation(owner, CSIDL_DESKTOP, &desktop) != S_OK) return result;
  const std::wstring shownTitle = ShownText(title);
  const std::wstring initialFolder = ShownText(initial);
  wchar_t displayName[MAX_PATH] = L"";
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.pidlRoot = desktop;
  browse.pszDisplayName = displayName;
  browse.lpszTitle = shownTitle.c_str();
  browse.ulFlags = 0;
  browse.lpfn = BrowseCallback;
  browse.lParam = reinterpret_cast<LPARAM>(initialFolder.c_str());
  if (LPITEMIDLIST chosen = SHBrowseForFolderW(&browse)) {
    result.chosen = true;
    wchar_t path[MAX_PATH] = L"";
    if (SHGetPathFromIDListW(chosen, path)) result.path = GbkFromWide(path);
    CoTaskMemFree(chosen);
  }
  CoTaskMemFree(desktop);
  return result;
}

HINSTANCE ShellExecuteGbk(HWND owner, const std::string& file) {
  HINSTANCE result = ShellExecuteW(owner, L"open", ShownText(file).c_str(), nullptr, nullptr, SW_SHOW);
  ReportedChange(reinterpret_cast<INT_PTR>(result) > 32);  // a program started to open it
  return result;
}

ShellLinkGbk::ShellLinkGbk() {
  CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void**>(&link_));
  if (link_ != nullptr) link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_));
}

ShellLinkGbk::~ShellLinkGbk() {
  if (file_ != nullptr) file_->Release();
  if (link_ != nullptr) link_->Release();
}

bool ShellLinkGbk::Save(const std::string& linkPath, const std::string& target, const std::string& description) {
  const WideName link(linkPath);
  if (!Usable() || !link.Valid()) return false;
  link_->SetPath(ShownText(target).c_str());
  link_->SetDescription(ShownText(description).c_str());
  return ReportedChange(SUCCEEDED(file_->Save(link.Get(), TRUE)));
}

}  // namespace platform
