#include "product/product_facts.h"
#include "setup/unpack_window.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>

#include "common/dll_search/system_dlls.h"
#include "common/platform/user_interface.h"
#include "resources/setup_ids.h"
#include "setup/setup_texts.h"

namespace setup {

namespace {

constexpr DWORD kQuietMilliseconds = 500;
constexpr UINT kRefreshMilliseconds = 100;
constexpr int kBarSteps = 1000;

struct Unpacking {
  std::string_view payload;
  std::wstring folder;
  std::atomic<std::size_t> remainingBytes{0};
  UnpackResult result = UnpackResult::kWriteFailed;
};

DWORD WINAPI UnpackThread(void* argument) {
  auto* unpacking = static_cast<Unpacking*>(argument);
  unpacking->result = Unpack(unpacking->payload, unpacking->folder, unpacking->remainingBytes);
  return 0;
}

INT_PTR CALLBACK ProgressDialog(HWND, UINT message, WPARAM, LPARAM) {
  // Closing it does nothing: it goes by itself when the files are written.
  return message == WM_INITDIALOG || message == WM_CLOSE ? TRUE : FALSE;
}

HWND ShowProgressWindow() {
  dll_search::RegisterProgressBarClass();
  HWND window =
      CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETUP_UNPACKING), nullptr, ProgressDialog, 0);
  if (window == nullptr) return nullptr;
  platform::SetWindowTextGbk(window, product::WizardCaption);
  platform::SetDlgItemTextGbk(window, IDC_SETUP_UNPACKING_TEXT, kUnpackingText);
  SendDlgItemMessageW(window, IDC_SETUP_UNPACKING_BAR, PBM_SETRANGE32, 0, kBarSteps);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}

}  // namespace

UnpackResult UnpackShowingProgress(std::string_view payload, const std::wstring& folder, bool showProgress) {
  Unpacking unpacking;
  unpacking.payload = payload;
  unpacking.folder = folder;
  unpacking.remainingBytes = payload.size();
  HANDLE thread = CreateThread(nullptr, 0, UnpackThread, &unpacking, 0, nullptr);
  if (thread == nullptr) return Unpack(payload, folder, unpacking.remainingBytes);

  HWND window = nullptr;
  const ULONGLONG started = GetTickCount64();
  for (;;) {
    const DWORD wait = window == nullptr && showProgress ? kQuietMilliseconds : kRefreshMilliseconds;
    if (MsgWaitForMultipleObjects(1, &thread, FALSE, wait, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (window == nullptr || !IsDialogMessageW(window, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    if (window == nullptr && showProgress && GetTickCount64() - started >= kQuietMilliseconds) {
      window = ShowProgressWindow();
    }
    if (window != nullptr) {
      const std::size_t done = payload.size() - unpacking.remainingBytes;
      SendDlgItemMessageW(
          window, IDC_SETUP_UNPACKING_BAR, PBM_SETPOS,
          static_cast<WPARAM>(static_cast<double>(done) /
                              static_cast<double>(std::max<std::size_t>(payload.size(), 1)) * kBarSteps),
          0);
    }
  }
  CloseHandle(thread);
  if (window != nullptr) DestroyWindow(window);
  return unpacking.result;
}

}  // namespace setup
