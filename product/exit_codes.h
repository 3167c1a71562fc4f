// The exit codes of the product line's programs, for deployment systems: the installer's
// (which the single-file setup passes on, with one of its own) and the unattended
// uninstaller's. The one place each number is written.
#pragma once

namespace exit_codes {

// Another setup or removal of the product line is running: nothing changed. Windows' own
// code for this (ERROR_INSTALL_ALREADY_RUNNING), which deployment systems retry on.
inline constexpr int kAnotherSetupRunningCode = 1618;

// install.exe, interactive and unattended alike, and the single-file setup.
namespace installer {
enum Code : int {
  kInstalled = 0,           // the finish page left with Finish, or the unattended install completed
  kCancelled = 1,           // cancelled by the user
  kProductRunning = 2,      // the product is running
  kMonitorRunning = 3,      // the review monitor did not close
  kEarlierVersionKept = 4,  // the user declined the removal of the earlier version
  kNoRoom = 5,              // not enough free space on the target drive (unattended)
  kFailedRolledBack = 6,    // the install failed and was rolled back
  kInvalidCommandLine = 7,  // an argument that is not understood
  kSetupFileDamaged = 9,    // the single-file setup is damaged or cut off (a download)
  kAnotherSetupRunning = kAnotherSetupRunningCode,
};
}  // namespace installer

// uninstall.exe /S; every interactive path ends with 0.
namespace uninstaller {
enum Code : int {
  kRemoved = 0,
  kProductRunning = 2,
  kMonitorRunning = 3,
  kNothingRemoved = 6,  // the log could not be read
  kRemovedInPart = 8,   // a listed file or registry entry is still there
  kAnotherSetupRunning = kAnotherSetupRunningCode,
  // Removed but for files another program holds, deleted when Windows next starts
  // (ERROR_SUCCESS_REBOOT_REQUIRED).
  kRestartNeeded = 3010,
};
}  // namespace uninstaller

}  // namespace exit_codes
