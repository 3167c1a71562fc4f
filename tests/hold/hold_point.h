// The hold point of the kit's test builds. A test that wants to look at a program part-way
// (the progress page while the copy runs, Cancel before a chosen file) makes two named
// objects for that program's process id; each thread of the program but its main thread,
// which runs the pages, then stops right after each change it makes to the machine, says
// so, and goes on when the test lets it. The shipped programs have no hold point: a test
// never steers them by debugging them.
#pragma once

#include <string>
#include <string_view>

#include "common/crash_build/crash_build.h"

namespace hold_point {

// A semaphore the test makes with count 0: each count lets a held thread on by one change.
inline std::wstring GateName(unsigned long processId) {
  return L"Local\\QuendralHoldGate" + std::to_wstring(processId);
}
// An auto-reset event the program sets each time one of its threads stops at the hold.
inline std::wstring HeldName(unsigned long processId) { return L"Local\\QuendralHeld" + std::to_wstring(processId); }

// Whether a program's bytes hold a hold point: the gate's name in UTF-16.
inline bool HasHoldPoint(std::string_view programBytes) {
  return crash_points::HoldsUtf16Name(programBytes, "QuendralHoldGate");
}

// Called by the test builds after each change they report: stops the calling thread there
// while a test holds the program.
void HoldAfterChange();

}  // namespace hold_point
