// The installer's application object: the start-up checks, the wizard and the clean-up
// of a cancelled wizard.
#pragma once

namespace installer {

class InstallerApp {
 public:
  // Runs the whole installer once. Always answers false: the program is not to go on
  // after it (it has no message loop of its own).
  bool InitInstance();

 private:
  // False when the user declined to remove the earlier version: the program ends.
  bool RemoveEarlierVersion();
  void CreateDefaultFolder();
};

// Shows the six pages in order; 1 when the last page was left forwards, 0 when any page
// was cancelled.
int RunWizard();

}  // namespace installer
