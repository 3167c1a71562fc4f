// The installer's application object: the start-up checks, the wizard and the clean-up
// of a cancelled wizard.
#pragma once

namespace app {

class InstallerApp {
 public:
  // Runs the whole installer once: the start-up checks, the wizard and the clean-up of
  // a cancelled wizard. The program ends when it returns; it has no message loop of its own.
  void Run();

 private:
  // False when the user declined to remove the earlier version: the program ends.
  bool RemoveEarlierVersion();
  void CreateDefaultFolder();
};

// Shows the six pages in order; 1 when the last page was left forwards, 0 when any page
// was cancelled.
int RunWizard();

}  // namespace app
