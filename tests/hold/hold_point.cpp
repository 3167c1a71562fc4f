#include "tests/hold/hold_point.h"

#include <windows.h>

namespace hold_point {

namespace {

// Static initialisation runs on the program's main thread.
const DWORD g_mainThread = GetCurrentThreadId();

// A held thread goes on by itself after this long, so that a test that died leaves no
// program waiting for good.
constexpr DWORD kLongestHoldMs = 120000;

}  // namespace

void HoldAfterChange() {
  if (GetCurrentThreadId() == g_mainThread) return;
  const DWORD self = GetCurrentProcessId();
  HANDLE gate = OpenSemaphoreW(SYNCHRONIZE, FALSE, GateName(self).c_str());
  if (gate == nullptr) return;
  if (HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, HeldName(self).c_str())) {
    SetEvent(held);
    CloseHandle(held);
  }
  WaitForSingleObject(gate, kLongestHoldMs);
  CloseHandle(gate);
}

}  // namespace hold_point
