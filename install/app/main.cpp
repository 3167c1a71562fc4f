#include <windows.h>
#include <commctrl.h>

#include "common/command_line/command_line.h"
#include "common/dll_search/system_dlls.h"
#include "install/app/installer_app.h"

namespace {

// The progress bar's window class lives in comctl32, loaded from the system folder only.
void RegisterCommonControls() {
  HMODULE comctl = dll_search::LoadSystemLibrary("comctl32.dll");
  if (comctl == nullptr) return;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto init = reinterpret_cast<InitFunction>(reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
  if (init != nullptr) init(&classes);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all: a DLL planted beside install.exe (a download folder) is never loaded.
  dll_search::LoadFromSystemFolderOnly();
  RegisterCommonControls();
  char ownPath[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
  return app::InstallerApp().Run(command_line::ArgumentAfterProgramName(GetCommandLineA(), ownPath));
}
