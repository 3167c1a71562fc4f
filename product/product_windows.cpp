#include "product/product_windows.h"

#include <windows.h>

#include "product/product_facts.h"

namespace product {

void ShowStopProductMessage(const char* text, const char* caption) {
  MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONINFORMATION);
}

bool MainProgramIsRunning() { return FindWindowA(nullptr, kMainWindowTitle) != nullptr; }

bool CloseReviewMonitor(int* requestsMade) {
  constexpr int kCloseRequests = 30;
  constexpr DWORD kPauseMs = 100;
  HWND monitor = FindWindowA(nullptr, kReviewMonitorTitle);
  int request = 0;
  for (; monitor != nullptr && request < kCloseRequests; ++request) {
    PostMessageA(monitor, WM_COMMAND, kReviewMonitorCloseCommand, 0);
    Sleep(kPauseMs);
    monitor = FindWindowA(nullptr, kReviewMonitorTitle);
  }
  if (requestsMade != nullptr) *requestsMade = request;
  return monitor == nullptr;
}

}  // namespace product
