// The installer's application object: the start-up checks, the wizard and the clean-up
// of a cancelled wizard.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "product/exit_codes.h"
#include "install/engine/installer_state.h"
#include "install/engine/setup_payload.h"

namespace app {

using ExitCode = exit_codes::installer::Code;

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
  // The start-up checks before any folder is made: the installer's own folder, the running
  // product and review monitor, an installed earlier version. The exit code when one ends
  // the installer.
  std::optional<ExitCode> CheckBeforeInstall(std::string_view arguments);
  // The wizard, or unattended the copy alone, and the clean-up of a cancelled or failed install.
  ExitCode Install();
  // An error box with the installer's caption; none in an unattended install.
  void ShowError(const std::string& text) const;
  // False when the user declined to remove the earlier version: the program ends.
  bool RemoveEarlierVersion();
  void CreateDefaultFolder();
  // The folder /D= names and every missing parent, each recorded in CreatedDirs.
  void CreateTargetFolders(const std::string& folder);
  void CreateAndRecord(const std::string& folder);
  void RemoveCreatedFolders();
  ExitCode End(ExitCode code);

  // The installer's process-wide state, handed to the pages and the install worker.
  engine::InstallerState state_;
  // The setup's file, when a single-file setup started the installer.
  std::unique_ptr<engine::SetupPayload> payload_;
};

// Shows the six pages in order; 1 when the last page was left forwards, 0 when any page
// was cancelled.
int RunWizard(engine::InstallerState& state);
// The unattended install: the progress page alone, never shown. 1 when it completed.
int RunUnattendedInstall(engine::InstallerState& state);

}  // namespace app
