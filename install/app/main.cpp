#include <windows.h>

#include <optional>
#include <string>

#include "common/command_line/command_line.h"
#include "common/dll_search/system_dlls.h"
#include "common/platform/files.h"
#include "common/platform/process.h"
#include "install/app/installer_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all: a DLL planted beside install.exe (a download folder) is never loaded.
  dll_search::LoadFromSystemFolderOnly();
  const std::string ownPath = platform::ModuleFileNameGbk().value_or("");
  std::string shown;
  const std::optional<std::string> commandLine = platform::CommandLineGbk(&shown);
  const std::string line = commandLine.value_or(shown);
  return app::InstallerApp().Run(command_line::ArgumentAfterProgramName(line, ownPath), commandLine.has_value());
}
