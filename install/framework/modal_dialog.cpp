#include "install/framework/modal_dialog.h"

#include <cstring>
#include <vector>

namespace framework {

void DataExchange::Control(int id, HWND& handle) { handle = GetDlgItem(dialog_, id); }

void DataExchange::Text(int id, std::string& value) {
  HWND control = GetDlgItem(dialog_, id);
  if (!toMembers_) {
    SetWindowTextA(control, value.c_str());
    return;
  }
  const int length = GetWindowTextLengthA(control);
  std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(control, text.data(), length + 1);
  value.assign(text.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

INT_PTR ModalDialog::RunModal() {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), nullptr, &ModalDialog::DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR ModalDialog::RunHidden() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(templateId_), MAKEINTRESOURCEA(5));  // RT_DIALOG
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
  HWND window = CreateDialogIndirectParamA(instance, reinterpret_cast<LPCDLGTEMPLATEA>(hiddenTemplate.data()), nullptr,
                                           &ModalDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  if (window == nullptr) return -1;
  MSG message;
  while (!ended_ && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageA(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
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
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    page->window_ = window;
  }
  auto* page = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(window, DWLP_USER));
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
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      return FALSE;
    case WM_NCDESTROY: window_ = nullptr; return FALSE;
    default: return FALSE;
  }
}

}  // namespace framework
