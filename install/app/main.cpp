#include <windows.h>

#include "common/command_line/command_line.h"
#include "common/dll_search/system_dlls.h"
#include "install/app/installer_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all: a DLL planted beside install.exe (a download folder) is never loaded.
  dll_search::LoadFromSystemFolderOnly();
  char ownPath[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
  return app::InstallerApp().Run(command_line::ArgumentAfterProgramName(GetCommandLineA(), ownPath));
}
