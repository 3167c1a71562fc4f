#include "install/framework/modal_dialog.h"

#include <cstring>
#include <vector>

#include "common/platform/user_interface.h"

namespace framework {

void DataExchange::Control(int id, HWND& handle) { handle = GetDlgItem(dialog_, id); }

void DataExchange::Text(int id, std::string& value) {
  HWND control = GetDlgItem(dialog_, id);
  if (!toMembers_) {
    platform::SetWindowTextGbk(control, value);
    return;
  }
  value = platform::GetWindowTextGbk(control);
}

INT_PTR ModalDialog::RunModal() {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), nullptr, &ModalDialog::DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR ModalDialog::RunHidden() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(templateId_), MAKEINTRESOURCEW(5));  // RT_DIALOG
  HGLOBAL loaded = resource != nullptr ? LoadResource(instance, resource) : nullptr;
  const auto* bytes = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  // An extended template: version, signature, help id and extended style come before the style.
  constexpr std::size_t kStyleOffset = 12;
  const DWORD size = resource != nullptr ? SizeofResource(instance, resource) : 0;
  if (bytes == nullptr || size < kStyleOffset + sizeof(DWORD)) return -1;
  std::vector<BYTE> hiddenTemplate(bytes, bytes + size);
  DWORD style = 0;
  std::memcpy(&style, hiddenTemplate.data() + kStyleOffset, sizeof style);
  style &= ~static_cast<DWORD>(WS_VISIBLE);
  std::memcpy(hiddenTemplate.data() + kStyleOffset, &style, sizeof style);

  hidden_ = true;
  ended_ = false;
  result_ = -1;
  HWND window = CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(hiddenTemplate.data()), nullptr,
                                           &ModalDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  if (window == nullptr) return -1;
  MSG message;
  while (!ended_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  DestroyWindow(window);
  return result_;
}

void ModalDialog::OnCommandId(int id, std::function<void()> handler) { commands_[id] = std::move(handler); }

BOOL ModalDialog::OnInitDialog() {
  PushData();
  CentreOnScreen();
  return TRUE;
}

void ModalDialog::OnOK() {
  PullData();
  EndPage(IDOK);
}

void ModalDialog::EndPage(INT_PTR code) {
  if (!hidden_) {
    EndDialog(window_, code);
    return;
  }
  ended_ = true;
  result_ = code;
}

void ModalDialog::PushData() {
  DataExchange exchange(window_, false);
  ExchangeData(exchange);
}

void ModalDialog::PullData() {
  DataExchange exchange(window_, true);
  ExchangeData(exchange);
}

void ModalDialog::CentreOnScreen() {
  RECT frame{};
  GetWindowRect(window_, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* page = reinterpret_cast<ModalDialog*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    page->window_ = window;
  }
  auto* page = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return page != nullptr ? page->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR ModalDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      // Only clicks, menu and accelerator commands; control notifications pass by.
      if (HIWORD(wParam) > 1) return FALSE;
      if (auto handler = commands_.find(id); handler != commands_.end()) {
        handler->second();
      } else if (id == IDOK) {
        OnOK();
      } else if (id == IDCANCEL) {
        OnCancel();
      } else {
        return FALSE;
      }
      return TRUE;
    }
    case WM_PAINT: return OnPaint() ? TRUE : FALSE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      HBRUSH brush = OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      return reinterpret_cast<INT_PTR>(brush);
    }
    case WM_SYSCOMMAND:
      if (OnSystemCommand(wParam)) {
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      return FALSE;
    case WM_NCDESTROY: window_ = nullptr; return FALSE;
    default: return FALSE;
  }
}

}  // namespace framework
