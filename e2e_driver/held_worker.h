// Holding the installer's worker thread, so that a copy that takes milliseconds can be
// looked at part-way.
#pragma once

#include <windows.h>

namespace e2e {

// Holds a test build of the installer (one with the hold point) through its named gate:
// the worker stops right after its first change to the machine and then after each
// further one that the test lets it make. The page's thread is never held, so the pages
// paint and answer meanwhile. Construct it before pressing Next on the summary page.
class HeldWorker {
 public:
  explicit HeldWorker(DWORD processId);
  ~HeldWorker() { Release(); }
  HeldWorker(const HeldWorker&) = delete;
  HeldWorker& operator=(const HeldWorker&) = delete;

  // Waits until the worker has stopped at its first change; false when it was not seen in
  // time (or the installer is a build without the hold point).
  bool Catch(DWORD timeoutMs);
  // Lets the worker make one more change and waits until it stops again; false when it did
  // not stop again within 5 s (it has ended, or runs on the main thread now).
  bool Step();
  // Lets the worker go on for good.
  void Release();

 private:
  HANDLE gate_ = nullptr;
  HANDLE held_ = nullptr;
};

}  // namespace e2e
