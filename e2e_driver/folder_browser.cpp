#include "e2e_driver/folder_browser.h"

#include "resources/install_ids.h"

#include <commctrl.h>

#include <cstdio>

#include "e2e_driver/process.h"

namespace e2e {

namespace {

HWND FindTree(HWND browser) { return FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr); }

// The tree lives in another process: its item texts are read through a buffer there.
class RemoteItemReader {
 public:
  explicit RemoteItemReader(DWORD processId)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)) {
    if (process_ != nullptr) {
      remote_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    }
  }
  ~RemoteItemReader() {
    if (remote_ != nullptr) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  std::string Text(HWND tree, HTREEITEM item) {
    if (remote_ == nullptr) return {};
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = remote_ + sizeof(TVITEMA);
    query.cchTextMax = 512;
    WriteProcessMemory(process_, remote_, &query, sizeof query, nullptr);
    Ask(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_));
    char text[513] = "";
    ReadProcessMemory(process_, remote_ + sizeof(TVITEMA), text, 512, nullptr);
    return text;
  }

 private:
  static constexpr SIZE_T kSize = sizeof(TVITEMA) + 512;
  HANDLE process_;
  char* remote_ = nullptr;
};

HTREEITEM Next(HWND tree, HTREEITEM item, WPARAM relation) {
  return reinterpret_cast<HTREEITEM>(Ask(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

HWND WaitForFolderBrowser(DWORD processId) {
  return WaitFor([processId]() -> HWND {
    for (HWND window : TopLevelWindows(processId)) {
      if (FindTree(window) != nullptr) return window;
    }
    return nullptr;
  });
}

bool SelectInFolderBrowser(HWND browser, DWORD processId, const std::vector<std::string>& itemTexts) {
  HWND tree = FindTree(browser);
  RemoteItemReader reader(processId);
  HTREEITEM level = Next(tree, nullptr, TVGN_ROOT);  // the desktop
  HTREEITEM found = level;
  for (const std::string& text : itemTexts) {
    Ask(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(found));
    found = nullptr;
    for (HTREEITEM child = Next(tree, level, TVGN_CHILD); child != nullptr; child = Next(tree, child, TVGN_NEXT)) {
      if (reader.Text(tree, child) == text) {
        found = child;
        break;
      }
    }
    if (found == nullptr) {
      std::string seen;
      for (HTREEITEM child = Next(tree, level, TVGN_CHILD); child != nullptr; child = Next(tree, child, TVGN_NEXT)) {
        seen += "[" + reader.Text(tree, child) + "]";
      }
      std::printf("folder browser: no item %s among %s\n", text.c_str(), seen.c_str());
      return false;
    }
    level = found;
  }
  Ask(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found));
  return true;
}

bool BrowseTo(DWORD processId, HWND destinationPage, const std::vector<std::string>& itemTexts) {
  Press(destinationPage, IDC_BROWSE);
  HWND browser = WaitForFolderBrowser(processId);
  if (browser == nullptr || !SelectInFolderBrowser(browser, processId, itemTexts)) return false;
  Press(browser, IDOK);
  return WaitFor([browser]() -> HWND { return IsWindow(browser) ? nullptr : browser; }) != nullptr;
}

}  // namespace e2e
