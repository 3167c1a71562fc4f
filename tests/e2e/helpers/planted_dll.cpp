// Test helper: a DLL that a stranger could plant beside a program under a system DLL's
// name. Loading it leaves a mark: the file named by QUENDRAL_PLANTED_MARK.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    char mark[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("QUENDRAL_PLANTED_MARK", mark, sizeof mark);
    if (length > 0 && length < sizeof mark) {
      HANDLE file = CreateFileA(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
  }
  return TRUE;
}
