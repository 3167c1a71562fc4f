#include "product/product_windows.h"

#include <windows.h>

#include "product/product_facts.h"
#include "common/platform/user_interface.h"

namespace product {

void ShowStopProductMessage(const char* text, const char* caption) {
  platform::MessageBoxGbk(nullptr, text, caption, MB_OK | MB_ICONINFORMATION);
}

bool MainProgramIsRunning() { return platform::FindWindowGbk(kMainWindowTitle) != nullptr; }

bool CloseReviewMonitor(int* requestsMade) {
  constexpr int kCloseRequests = 30;
  constexpr DWORD kPauseMs = 100;
  HWND monitor = platform::FindWindowGbk(kReviewMonitorTitle);
  int request = 0;
  for (; monitor != nullptr && request < kCloseRequests; ++request) {
    PostMessageW(monitor, WM_COMMAND, kReviewMonitorCloseCommand, 0);
    Sleep(kPauseMs);
    monitor = platform::FindWindowGbk(kReviewMonitorTitle);
  }
  if (requestsMade != nullptr) *requestsMade = request;
  return monitor == nullptr;
}

}  // namespace product
