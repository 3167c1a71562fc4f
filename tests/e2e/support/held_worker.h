// Holding the installer's worker thread, so that a copy that takes milliseconds can be
// looked at part-way.
#pragma once

#include <windows.h>

namespace e2e {

// Attached to the installer as its debugger until the installer creates a thread of its
// own code, the worker: the debugger hears of the thread before its first instruction
// runs and suspends it there, then detaches. Nothing can race: the worker has not copied
// a byte before it is held. Construct it before pressing Next on the summary page.
class HeldWorker {
 public:
  explicit HeldWorker(DWORD processId);
  ~HeldWorker();
  HeldWorker(const HeldWorker&) = delete;
  HeldWorker& operator=(const HeldWorker&) = delete;

  // Waits for the worker to be created and holds it; false when it was not seen in time.
  // While it waits the installer stands still at each event, so call it before waiting for
  // any window of the installer.
  bool Catch(DWORD timeoutMs);
  bool Held() const { return worker_ != nullptr; }
  // Lets the held worker run until it waits for the page (whose thread is held meanwhile),
  // and holds it there again: a worker held at any other point might hold a lock the
  // page's thread needs to paint. False once it has ended.
  bool Step();
  // Lets the worker go on for good.
  void Release();

 private:
  void Detach();

  DWORD processId_;
  bool attached_ = false;
  HANDLE worker_ = nullptr;
  HANDLE page_ = nullptr;  // the program's main thread, which runs the pages
};

}  // namespace e2e
