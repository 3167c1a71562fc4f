// The floor for the start-up figure: a program that shows one empty dialog at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  struct {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
  } dialog{{WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, 0, 0, 200, 100}, 0, 0, 0};
  return static_cast<int>(DialogBoxIndirectParamA(
      GetModuleHandleA(nullptr), &dialog.header, nullptr,
      [](HWND window, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_CLOSE) EndDialog(window, 0);
        return message == WM_INITDIALOG;
      },
      0));
}
