#include "tests/e2e/support/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace e2e {

ShortcutSeen ReadShortcut(const std::string& linkPath) {
  ShortcutSeen seen;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t wide[1024];
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, 1024);
    if (SUCCEEDED(file->Load(wide, STGM_READ))) {
      char text[1024] = "";
      if (link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH) == S_OK) seen.target = text;
      char description[1024] = "";
      if (SUCCEEDED(link->GetDescription(description, sizeof description))) seen.description = description;
    }
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  CoUninitialize();
  return seen;
}

}  // namespace e2e
