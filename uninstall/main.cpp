#include <windows.h>

#include <string>

#include "common/dll_search/system_dlls.h"
#include "common/command_line/command_line.h"
#include "product/product_facts.h"
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
  const std::string_view argument = command_line::ArgumentAfterProgramName(GetCommandLineA(), OwnProgramPath());
  if (product::IsUnattendedSwitch(argument)) return uninstall::UnattendedFirstRun();
  if (argument.empty()) {
    uninstall::FirstRun();
    return 0;
  }
  return uninstall::RemovalRun(std::string(argument));
}
