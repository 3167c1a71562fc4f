#include "sample/standin_window.h"

#include <windows.h>

#include <string>

#include "product/product_facts.h"

namespace sample {

namespace {

int g_closeOnRequest = 0;
int g_requestsSeen = 0;
bool g_lingerRetitled = false;
// QUENDRAL_STANDIN_ANSI set: the window is an ANSI program's, its GBK title read in the
// system's code page, as an old build of the product shows it on a non-Chinese Windows.
// Otherwise the title is Unicode, as a Unicode build, or any build on a Chinese Windows,
// shows it.
bool g_ansi = false;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == product::kReviewMonitorCloseCommand && ++g_requestsSeen == g_closeOnRequest) {
        if (g_lingerRetitled) {
          SetWindowTextW(window, L"");
        } else {
          DestroyWindow(window);
        }
      }
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default:
      return g_ansi ? DefWindowProcA(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

void NoteStart(const char* programName) {
  wchar_t logPath[MAX_PATH] = L"";
  const DWORD length = GetEnvironmentVariableW(L"QUENDRAL_STANDIN_LOG", logPath, MAX_PATH);
  DWORD bytes = sizeof logPath - sizeof(wchar_t);
  if ((length == 0 || length >= MAX_PATH) && RegGetValueW(HKEY_CURRENT_USER, kStartLogKey, kStartLogValue,
                                                          RRF_RT_REG_SZ, nullptr, logPath, &bytes) != ERROR_SUCCESS) {
    return;
  }
  // Opened unshared, so that programs started at the same moment append one after the
  // other instead of over each other; a program that finds it busy tries again.
  HANDLE log = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 200 && log == INVALID_HANDLE_VALUE; ++attempt) {
    log = CreateFileW(logPath, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) Sleep(10);
  }
  if (log == INVALID_HANDLE_VALUE) return;
  const std::string line = std::string(programName) + "\r\n";
  DWORD written = 0;
  WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(log);
}

int RunTitledWindow(const char* programName, const char* title, int closeOnRequest, bool lingerRetitled) {
  g_closeOnRequest = closeOnRequest;
  g_lingerRetitled = lingerRetitled;
  NoteStart(programName);
  g_ansi = GetEnvironmentVariableW(L"QUENDRAL_STANDIN_ANSI", nullptr, 0) > 0;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND window = nullptr;
  if (g_ansi) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "QuendralStandIn";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                             CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
  } else {
    wchar_t wideTitle[256] = L"";
    MultiByteToWideChar(936, 0, title, -1, wideTitle, 256);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"QuendralStandIn";
    RegisterClassW(&windowClass);
    window = CreateWindowExW(0, windowClass.lpszClassName, wideTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                             CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
  }
  if (window == nullptr) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return g_requestsSeen;
}

}  // namespace sample
