// The installer's application object: the start-up checks, the wizard and the clean-up
// of a cancelled wizard.
#pragma once

#include <string>
#include <string_view>

#include "install/app/exit_codes.h"

namespace app {

class InstallerApp {
 public:
  // Runs the whole installer once: the start-up checks, the wizard (or, unattended, the
  // progress page alone, never shown) and the clean-up of a cancelled or failed install.
  // `arguments` is the command line after the program's name; `argumentsAreGbk` is false
  // when GBK cannot hold them (a /D= folder with an emoji, say), and they are refused. The
  // program ends when it returns, with the answer as its exit code; it has no message
  // loop of its own.
  ExitCode Run(std::string_view arguments, bool argumentsAreGbk = true);

 private:
  ExitCode Refuse(const std::string& argument);
  // False when the user declined to remove the earlier version: the program ends.
  bool RemoveEarlierVersion();
  void CreateDefaultFolder();
  // The folder /D= names and every missing parent, each recorded in CreatedDirs.
  void CreateTargetFolders(const std::string& folder);
  void CreateAndRecord(const std::string& folder);
  void RemoveCreatedFolders();
  ExitCode End(ExitCode code);
};

// Shows the six pages in order; 1 when the last page was left forwards, 0 when any page
// was cancelled.
int RunWizard();
// The unattended install: the progress page alone, never shown. 1 when it completed.
int RunUnattendedInstall();

}  // namespace app
