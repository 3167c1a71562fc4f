#include <windows.h>

#include <string>

#include "uninstall/command_line.h"
#include "uninstall/uninstaller.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all: the copy runs elevated from the temporary folder, where anyone may have
  // planted a DLL; only the system folder is searched.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  const std::string_view argument = command_line::ArgumentAfterProgramName(GetCommandLineA());
  if (argument.empty()) {
    uninstaller::FirstRun();
  } else {
    uninstaller::RemovalRun(std::string(argument));
  }
  return 0;
}
