#include <windows.h>

#include <string>

#include "common/dll_search/system_dlls.h"
#include "common/command_line/command_line.h"
#include "common/platform/files.h"
#include "common/platform/process.h"
#include "product/product_facts.h"
#include "uninstall/uninstaller.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all: the copy runs elevated from the temporary folder, where anyone may have
  // planted a DLL; only the system folder is searched.
  dll_search::LoadFromSystemFolderOnly();
  // A line GBK cannot hold names no log of this kit; with "?" for what GBK lacks it names
  // none either, and nothing is removed.
  std::string shown;
  const std::string line = platform::CommandLineGbk(&shown).value_or(shown);
  const std::string_view argument =
      command_line::ArgumentAfterProgramName(line, platform::ModuleFileNameGbk().value_or(""));
  if (product::IsUnattendedSwitch(argument)) return uninstall::UnattendedFirstRun();
  if (argument.empty()) {
    uninstall::FirstRun();
    return 0;
  }
  return uninstall::RemovalRun(std::string(argument));
}
