// Where the copy phase's time goes, measured inside the real program: only the benchmark
// build (install_profiled.exe, KIT_PROFILE) keeps timestamps; in the shipped installer
// every timer is empty and compiled away.
#pragma once

#include <windows.h>

namespace engine {

enum class ProfileStep {
  kBeforeFirstFile,   // manifest read and split, uninstaller copied, log created
  kFolderTree,        // the 18 install-tree folders
  kFetchLine,         // per line: the next manifest line
  kStatusText,        // per line: the status line set on the page (a synchronous send)
  kCopyFile,          // per line: CopyFile
  kLogRecord,         // per line: the log record written
  kProgressPosition,  // per line: the bar's position set (a synchronous send)
  kShortcuts,         // shortcuts through COM
  kSettings,          // the settings file
  kRegistry,          // Run value and installed-programs entry
  kPainting,          // on the user-interface thread: the page and its controls painting
  kCount
};

#ifdef KIT_PROFILE
// Adds the time from its construction to its end to `step`.
class ProfileTimer {
 public:
  explicit ProfileTimer(ProfileStep step);
  ~ProfileTimer();
  ProfileTimer(const ProfileTimer&) = delete;
  ProfileTimer& operator=(const ProfileTimer&) = delete;

 private:
  ProfileStep step_;
  LARGE_INTEGER start_;
};
// Writes every step's count and total to the file QUENDRAL_PROFILE names.
void WriteProfile();
#else
class ProfileTimer {
 public:
  explicit ProfileTimer(ProfileStep) {}
};
inline void WriteProfile() {}
#endif

}  // namespace engine
