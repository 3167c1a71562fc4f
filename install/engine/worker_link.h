// What the progress page and the install worker share: the engine's side of the page,
// which the page fills. The page creates the controls and
// starts and joins the thread; the worker drives the controls only with synchronous
// sends, polls the flags and ends with exactly one posted WM_COMMAND to the page.
#pragma once

#include <windows.h>

#include <atomic>

#include "install/engine/installer_state.h"
#include "resources/install_ids.h"

namespace engine {

// Final commands the worker posts to the page (lParam 0).
inline constexpr WPARAM kWorkerCompleted = IDM_WORKER_COMPLETED;
inline constexpr WPARAM kWorkerStopped = IDCANCEL;

struct WorkerLink {
  HWND StatusText = nullptr;   // IDC_STATUS_TEXT: the file being copied
  HWND ProgressBar = nullptr;  // IDC_PROGRESS_BAR: one step per manifest line
  // 1: the install is to stop and be rolled back. Set by the page while the worker runs
  // and by the worker on a failure.
  std::atomic<int> AbortRequested{0};
  // 1 from before the thread starts until the worker's last step before its final post.
  std::atomic<int> WorkerRunning{0};
  // 1: the worker holds after its current file. Written by the page only.
  std::atomic<int> PauseRequested{0};
  // Set by the page after it has changed a flag, so that a worker held by the pause wakes
  // at once instead of at its next 100 ms poll. Created and closed by the page.
  HANDLE FlagsChanged = nullptr;
  HANDLE WorkerThread = nullptr;

  HWND PageWindow = nullptr;  // owner of the worker's message boxes, target of its post
  // The installer's state, which the worker reads and adds its folders to.
  InstallerState* Context = nullptr;
};

}  // namespace engine
