// One setup of the product line at a time, across users and sessions: the installer and
// both runs of the uninstaller hold one machine-wide lock for as long as they may change
// the machine. A lock whose holder was ended is free again.
#pragma once

#include <windows.h>

namespace single_setup {

class SetupLock {
 public:
  SetupLock() = default;
  ~SetupLock() { Release(); }
  SetupLock(const SetupLock&) = delete;
  SetupLock& operator=(const SetupLock&) = delete;

  // Takes the lock at once or not at all: false while another setup or removal is at work
  // with it, or is handing it over to the program it started. A removal that is only
  // finishing is waited for. A program started by a hand-over takes the lock over instead.
  bool Take();
  bool Held() const { return held_; }

  // A program hands the lock to the one it starts (the single-file setup to its installer,
  // the uninstaller's first run to its copy), with no moment in which another setup could
  // take it: BeginHandOver before that program starts (it tells it through the
  // environment), EndHandOver once it started (its process, or null when it did not
  // start), which waits until it has claimed the lock or ended, and then lets go of it.
  void BeginHandOver();
  void EndHandOver(HANDLE started);

  // Said by a removal whose files and registry entries are gone, so that all it has left
  // is its own program file, its log and the emptied folders: a setup started now waits
  // until the removal has let go of the lock instead of being refused, and so never finds
  // the removal still deleting by path what it has just installed.
  void AnnounceFinishing();

  // Lets go of the lock before the program ends (also at its end).
  void Release();

 private:
  // In a program started by a hand-over: claims it and waits until the starter has let go.
  bool TakeOver();

  HANDLE mutex_ = nullptr;
  HANDLE handOver_ = nullptr;
  HANDLE finishing_ = nullptr;
  bool held_ = false;
};

}  // namespace single_setup
