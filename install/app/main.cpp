#include <windows.h>
#include <commctrl.h>

#include "install/app/installer_app.h"

namespace {

// The progress bar's window class lives in comctl32, loaded from the system folder only.
void RegisterCommonControls() {
  HMODULE comctl = LoadLibraryExA("comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (comctl == nullptr) return;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto init = reinterpret_cast<InitFunction>(
      reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
  if (init != nullptr) init(&classes);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all: a DLL planted beside install.exe (a download folder) is never loaded.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  RegisterCommonControls();
  installer::InstallerApp app;
  app.InitInstance();
  return 0;
}
