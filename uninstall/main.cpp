#include <windows.h>

#include <string>

#include "common/dll_search/system_dlls.h"
#include "uninstall/command_line.h"
#include "uninstall/uninstaller.h"

namespace {

std::string OwnProgramPath() {
  char path[MAX_PATH] = "";
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all: the copy runs elevated from the temporary folder, where anyone may have
  // planted a DLL; only the system folder is searched.
  dll_search::LoadFromSystemFolderOnly();
  const std::string_view argument = uninstall::ArgumentAfterProgramName(GetCommandLineA(), OwnProgramPath());
  if (argument.empty()) {
    uninstall::FirstRun();
  } else {
    uninstall::RemovalRun(std::string(argument));
  }
  return 0;
}
