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
  const single_setup::PayloadFile& payload;
  std::optional<std::wstring>& folder;
  std::atomic<std::uint64_t> readBytes{0};
  UnpackResult result = UnpackResult::kWriteFailed;
};

DWORD WINAPI UnpackThread(void* argument) {
  auto* unpacking = static_cast<Unpacking*>(argument);
  unpacking->result = CheckAndUnpack(unpacking->payload, unpacking->folder, unpacking->readBytes);
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

UnpackResult CheckAndUnpackShowingProgress(const single_setup::PayloadFile& payload,
                                           std::optional<std::wstring>& folder, bool showProgress) {
  Unpacking unpacking{payload, folder};
  HANDLE thread = CreateThread(nullptr, 0, UnpackThread, &unpacking, 0, nullptr);
  if (thread == nullptr) return CheckAndUnpack(payload, folder, unpacking.readBytes);

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
      SendDlgItemMessageW(window, IDC_SETUP_UNPACKING_BAR, PBM_SETPOS,
                          static_cast<WPARAM>(static_cast<double>(unpacking.readBytes) /
                                              static_cast<double>(std::max<std::uint64_t>(payload.Bytes(), 1)) *
                                              kBarSteps),
                          0);
    }
  }
  CloseHandle(thread);
  if (window != nullptr) DestroyWindow(window);
  return unpacking.result;
}

}  // namespace setup
