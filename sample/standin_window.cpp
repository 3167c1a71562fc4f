#include "sample/standin_window.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "product/product_facts.h"

namespace standin {

namespace {

int g_closeOnRequest = 0;
int g_requestsSeen = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == product::kReviewMonitorCloseCommand && ++g_requestsSeen == g_closeOnRequest) {
        DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

void NoteStart(const char* programName) {
  char logPath[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("QUENDRAL_STANDIN_LOG", logPath, sizeof logPath);
  if (length == 0 || length >= sizeof logPath) return;
  if (std::FILE* log = std::fopen(logPath, "ab")) {
    std::fprintf(log, "%s\r\n", programName);
    std::fclose(log);
  }
}

int RunTitledWindow(const char* programName, const char* title, int closeOnRequest) {
  g_closeOnRequest = closeOnRequest;
  NoteStart(programName);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "QuendralStandIn";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CW_USEDEFAULT, CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return g_requestsSeen;
}

}  // namespace standin
