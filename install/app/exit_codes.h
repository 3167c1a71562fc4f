// The installer's exit codes, interactive and unattended alike, for deployment systems.
#pragma once

namespace app {

enum ExitCode : int {
  kInstalled = 0,           // the finish page left with Finish, or the unattended install completed
  kCancelled = 1,           // cancelled by the user
  kProductRunning = 2,      // the product is running
  kMonitorRunning = 3,      // the review monitor did not close
  kEarlierVersionKept = 4,  // the user declined the removal of the earlier version
  kNoRoom = 5,              // not enough free space on the target drive (unattended)
  kFailedRolledBack = 6,    // the install failed and was rolled back
  kInvalidCommandLine = 7,  // an argument that is not understood
  kSetupFileDamaged = 9,    // the single-file setup is damaged or cut off (a download)
  // Another setup or removal of the product line is running (Windows' own code for this,
  // ERROR_INSTALL_ALREADY_RUNNING, which deployment systems retry on).
  kAnotherSetupRunning = 1618,
};

}  // namespace app
