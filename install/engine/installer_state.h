// The installer's process-wide state: owned by the application object, filled at start-up
// and handed to the wizard's pages and the install worker. All strings are GBK bytes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace engine {

class SetupPayload;

struct InstallerState {
  // The installer's own folder, with a trailing backslash.
  std::string SourceDir;
  // The product's files when a single-file setup started the installer; null when they
  // are in SourceDir's data folder.
  const SetupPayload* Payload = nullptr;
  // The install folder; without a trailing backslash once the copy starts.
  std::string TargetDir;
  // Folders created during this run, in creation order, so that they can be undone. Only
  // the install worker touches it while it runs.
  std::vector<std::string> CreatedDirs;
  OSVERSIONINFOW OsVersion{};
  // Direction of the last page exit: 0 back, 1 next.
  int WizardDirection = 0;
  // An unattended install (/S): no page and no message box is ever shown.
  bool Unattended = false;
  // Set by the install worker when a failure stopped the install (it is then rolled back).
  bool InstallFailed = false;
  // Set with it when a product file read from the setup's file was not what it carried.
  bool SetupFileDamaged = false;
  // Set by the progress page when the worker completed the install: from then on the
  // install stands, however the finish page is left.
  bool InstallCompleted = false;
};

}  // namespace engine
