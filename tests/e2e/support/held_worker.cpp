#include "tests/e2e/support/held_worker.h"

namespace e2e {

namespace {

// The address range of the program's own image in the debugged process.
struct ImageRange {
  ULONG_PTR start = 0;
  ULONG_PTR end = 0;
  bool Holds(const void* address) const {
    const auto value = reinterpret_cast<ULONG_PTR>(address);
    return value >= start && value < end;
  }
};

ImageRange RangeOf(HANDLE process, void* base) {
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS64 nt{};
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, base, &dos, sizeof dos, &read) ||
      !ReadProcessMemory(process, static_cast<char*>(base) + dos.e_lfanew, &nt, sizeof nt, &read)) {
    return {};
  }
  const auto start = reinterpret_cast<ULONG_PTR>(base);
  return {start, start + nt.OptionalHeader.SizeOfImage};
}

}  // namespace

HeldWorker::HeldWorker(DWORD processId) : processId_(processId) {
  attached_ = DebugActiveProcess(processId) != FALSE;
  // The installer must outlive this debugger whatever happens to the test.
  if (attached_) DebugSetProcessKillOnExit(FALSE);
}

HeldWorker::~HeldWorker() {
  Detach();
  Release();
}

bool HeldWorker::Catch(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  ImageRange image;
  DEBUG_EVENT event{};
  while (attached_ && worker_ == nullptr && GetTickCount64() < deadline) {
    if (!WaitForDebugEvent(&event, 50)) continue;
    DWORD continueStatus = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        image = RangeOf(event.u.CreateProcessInfo.hProcess, event.u.CreateProcessInfo.lpBaseOfImage);
        page_ = OpenThread(THREAD_SUSPEND_RESUME, FALSE, event.dwThreadId);
        if (event.u.CreateProcessInfo.hFile != nullptr) CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile != nullptr) CloseHandle(event.u.LoadDll.hFile);
        break;
      case CREATE_THREAD_DEBUG_EVENT:
        // The program's only thread of its own code besides the main thread.
        if (image.Holds(reinterpret_cast<void*>(event.u.CreateThread.lpStartAddress))) {
          worker_ = OpenThread(THREAD_SUSPEND_RESUME | THREAD_QUERY_INFORMATION | SYNCHRONIZE, FALSE, event.dwThreadId);
          if (worker_ != nullptr) SuspendThread(worker_);
        }
        break;
      case EXCEPTION_DEBUG_EVENT:
        // The attach's own break-in is ours; any other exception is the program's.
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
          continueStatus = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      default: break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
  }
  Detach();
  return worker_ != nullptr;
}

namespace {

ULONGLONG CpuTime(HANDLE thread) {
  FILETIME created{}, ended{}, kernel{}, user{};
  GetThreadTimes(thread, &created, &ended, &kernel, &user);
  return (static_cast<ULONGLONG>(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
         (static_cast<ULONGLONG>(user.dwHighDateTime) << 32 | user.dwLowDateTime);
}

}  // namespace

bool HeldWorker::Step() {
  if (worker_ == nullptr || page_ == nullptr) return false;
  // With the page's thread held, the worker's next message to the page waits for an
  // answer: it runs until then, uses no more time, and is held there, holding nothing.
  SuspendThread(page_);
  ResumeThread(worker_);
  bool ended = false;
  const ULONGLONG deadline = GetTickCount64() + 5000;
  // Waiting shows as two spells of 20 ms without CPU time (the clock counts in ticks).
  for (ULONGLONG before = CpuTime(worker_), quiet = 0; !ended && quiet < 2 && GetTickCount64() < deadline;) {
    ended = WaitForSingleObject(worker_, 20) != WAIT_TIMEOUT;
    const ULONGLONG now = CpuTime(worker_);
    quiet = now == before ? quiet + 1 : 0;
    before = now;
  }
  SuspendThread(worker_);
  ResumeThread(page_);
  return !ended;
}

void HeldWorker::Release() {
  if (page_ != nullptr) CloseHandle(page_);
  page_ = nullptr;
  if (worker_ == nullptr) return;
  ResumeThread(worker_);
  CloseHandle(worker_);
  worker_ = nullptr;
}

void HeldWorker::Detach() {
  if (attached_) DebugActiveProcessStop(processId_);
  attached_ = false;
}

}  // namespace e2e
