// The shell in GBK: the folder browser, opening a document and saving shortcuts, through
// the W interfaces.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

namespace platform {

// The result of the shell's folder browser.
struct BrowsedFolder {
  bool chosen = false;              // false: the user cancelled
  std::optional<std::string> path;  // nothing: no file-system folder, or one GBK cannot name
};

// The folder browser over the whole desktop, with its title and `initial` selected.
// Needs COM on the calling thread.
BrowsedFolder BrowseForFolderGbk(HWND owner, const std::string& title, const std::string& initial);

HINSTANCE ShellExecuteGbk(HWND owner, const std::string& file);

// The shell-link object, through IShellLinkW and IPersistFile; needs COM on the calling
// thread for its life.
class ShellLinkGbk {
 public:
  ShellLinkGbk();
  ~ShellLinkGbk();
  ShellLinkGbk(const ShellLinkGbk&) = delete;
  ShellLinkGbk& operator=(const ShellLinkGbk&) = delete;

  bool Usable() const { return link_ != nullptr && file_ != nullptr; }
  // Saves the shortcut `linkPath` to `target` with its description; false when it was not saved.
  bool Save(const std::string& linkPath, const std::string& target, const std::string& description);

 private:
  IShellLinkW* link_ = nullptr;
  IPersistFile* file_ = nullptr;
};

}  // namespace platform
