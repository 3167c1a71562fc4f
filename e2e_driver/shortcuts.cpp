#include "e2e_driver/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include "e2e_driver/wide.h"

namespace e2e {

ShortcutSeen ReadShortcut(const std::string& linkPath) {
  ShortcutSeen seen;
  CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(Wide(linkPath).c_str(), STGM_READ))) {
      wchar_t text[1024] = L"";
      if (link->GetPath(text, 1024, nullptr, SLGP_RAWPATH) == S_OK) seen.target = Gbk(text);
      wchar_t description[1024] = L"";
      if (SUCCEEDED(link->GetDescription(description, 1024))) seen.description = Gbk(description);
    }
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  CoUninitialize();
  return seen;
}

}  // namespace e2e
