#include "common/single_setup/setup_lock.h"

#include "common/platform/security.h"

namespace single_setup {

namespace {

constexpr wchar_t kLockName[] = L"Global\\QuendralSetup";
// Exists while a program hands the lock to the one it started: whoever else gets the lock
// then gives it back at once.
constexpr wchar_t kHandOverName[] = L"Global\\QuendralSetupHandOver";
// Set by a program for the one it hands the lock to.
constexpr wchar_t kHandOverVariable[] = L"QUENDRAL_SETUP_HANDOVER";
// Exists while a removal holds the lock only to finish: a starting setup waits for it.
constexpr wchar_t kFinishingName[] = L"Global\\QuendralSetupFinishing";

// How long each side of a hand-over waits for the other: far more than starting a
// program takes; a side that is gone by then ended, and its objects went with it.
constexpr DWORD kHandOverMs = 60000;
// How long a starting setup waits for a removal that is finishing: the longest the removal
// may wait for its first run's program file to be let go (a minute), and a margin.
constexpr DWORD kFinishingMs = 70000;

// SYSTEM and the administrators may do anything with the objects; every other user may
// wait for them and release them, so that the lock works across users and sessions.
platform::SecurityDescriptor& SharedAccess() {
  static platform::SecurityDescriptor access(L"D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x00100001;;;WD)");
  return access;
}

HANDLE OpenOrCreateLock() {
  HANDLE mutex = CreateMutexW(SharedAccess().Attributes(), FALSE, kLockName);
  // One made by another user's setup, which this one may not create anew.
  return mutex != nullptr ? mutex : OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kLockName);
}

bool Owned(DWORD waited) { return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED; }

bool Exists(const wchar_t* eventName) {
  HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, eventName);
  if (event == nullptr) return false;
  CloseHandle(event);
  return true;
}

}  // namespace

bool SetupLock::Take() {
  if (GetEnvironmentVariableW(kHandOverVariable, nullptr, 0) > 0) {
    SetEnvironmentVariableW(kHandOverVariable, nullptr);  // not for the programs this one starts
    return TakeOver();
  }
  mutex_ = OpenOrCreateLock();
  // Without a lock object nothing can be coordinated: the setup goes on, as it always did.
  if (mutex_ == nullptr) return held_ = true;
  // A removal that is finishing is waited for; one that ended a moment ago left it free.
  if (!Owned(WaitForSingleObject(mutex_, 0)) &&
      !Owned(WaitForSingleObject(mutex_, Exists(kFinishingName) ? kFinishingMs : 0))) {
    return false;
  }
  if (Exists(kHandOverName)) {
    ReleaseMutex(mutex_);
    return false;
  }
  return held_ = true;
}

bool SetupLock::TakeOver() {
  HANDLE handOver = OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, kHandOverName);
  mutex_ = OpenOrCreateLock();
  if (handOver != nullptr) SetEvent(handOver);  // the first run may let go now
  held_ = mutex_ == nullptr || Owned(WaitForSingleObject(mutex_, kHandOverMs));
  if (handOver != nullptr) CloseHandle(handOver);
  return held_;
}

void SetupLock::BeginHandOver() {
  if (!held_) return;
  handOver_ = CreateEventW(SharedAccess().Attributes(), TRUE, FALSE, kHandOverName);
  SetEnvironmentVariableW(kHandOverVariable, L"1");
}

void SetupLock::EndHandOver(HANDLE started) {
  SetEnvironmentVariableW(kHandOverVariable, nullptr);
  if (handOver_ != nullptr && started != nullptr) {
    const HANDLE claimedOrEnded[] = {handOver_, started};
    WaitForMultipleObjects(2, claimedOrEnded, FALSE, kHandOverMs);
  }
  Release();
}

void SetupLock::AnnounceFinishing() {
  if (held_ && finishing_ == nullptr)
    finishing_ = CreateEventW(SharedAccess().Attributes(), TRUE, FALSE, kFinishingName);
}

void SetupLock::Release() {
  if (held_ && mutex_ != nullptr) ReleaseMutex(mutex_);
  held_ = false;
  for (HANDLE* handle : {&mutex_, &handOver_, &finishing_}) {
    if (*handle != nullptr) CloseHandle(*handle);
    *handle = nullptr;
  }
}

}  // namespace single_setup
