#include "e2e_driver/held_worker.h"

#include "tests/hold/hold_point.h"

namespace e2e {

namespace {
// More than any run makes changes: the gate stays open for good.
constexpr LONG kOpenForGood = 0x3FFFFFFF;
constexpr DWORD kStepMs = 5000;
}  // namespace

HeldWorker::HeldWorker(DWORD processId) {
  gate_ = CreateSemaphoreW(nullptr, 0, kOpenForGood + 1, hold_point::GateName(processId).c_str());
  held_ = CreateEventW(nullptr, FALSE, FALSE, hold_point::HeldName(processId).c_str());
}

bool HeldWorker::Catch(DWORD timeoutMs) {
  return gate_ != nullptr && held_ != nullptr && WaitForSingleObject(held_, timeoutMs) == WAIT_OBJECT_0;
}

bool HeldWorker::Step() {
  if (gate_ == nullptr || held_ == nullptr) return false;
  ReleaseSemaphore(gate_, 1, nullptr);
  return WaitForSingleObject(held_, kStepMs) == WAIT_OBJECT_0;
}

void HeldWorker::Release() {
  if (gate_ != nullptr) {
    ReleaseSemaphore(gate_, kOpenForGood, nullptr);
    CloseHandle(gate_);
  }
  if (held_ != nullptr) CloseHandle(held_);
  gate_ = held_ = nullptr;
}

}  // namespace e2e
