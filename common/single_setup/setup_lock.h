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

  // Takes the lock at once or not at all: false while another setup or removal holds it,
  // or is handing it over to the copy it started. The uninstaller's copy takes it over
  // instead when its first run said so.
  bool Take();
  bool Held() const { return held_; }

  // The uninstaller's first run hands the lock to the copy it starts, with no moment in
  // which another setup could take it: BeginHandOver before the copy starts (it tells the
  // copy through the environment), EndHandOver once it started (its process, or null when
  // it did not start), which waits until the copy has claimed the lock or ended, and then
  // lets go of it.
  void BeginHandOver();
  void EndHandOver(HANDLE copy);

 private:
  // In the copy: claims the hand-over and waits until the first run has let go.
  bool TakeOver();
  void Release();

  HANDLE mutex_ = nullptr;
  HANDLE handOver_ = nullptr;
  bool held_ = false;
};

}  // namespace single_setup
