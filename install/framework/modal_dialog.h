// A small modal-dialog framework: a page object shown modally from its dialog template,
// again and again on the same object, with commands routed by control id.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace framework {

// Moves values between a dialog's controls and the page object's members.
class DataExchange {
 public:
  DataExchange(HWND dialog, bool toMembers) : dialog_(dialog), toMembers_(toMembers) {}
  // Binds `handle` to the control (both directions give the handle).
  void Control(int id, HWND& handle);
  // Exchanges the control's window text with `value`.
  void Text(int id, std::string& value);

 private:
  HWND dialog_;
  bool toMembers_;
};

class ModalDialog {
 public:
  explicit ModalDialog(int templateId) : templateId_(templateId) {}
  virtual ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Creates a fresh window from the template and runs its modal loop; answers the code
  // the page ended with (or -1 when it could not be shown).
  INT_PTR RunModal();
  // The same page and handlers, but the window is never shown: created from the template
  // without WS_VISIBLE and served by a message loop of its own until the page ends. For
  // an unattended run, where no window may appear on screen.
  INT_PTR RunHidden();
  HWND Window() const { return window_; }

 protected:
  // Binds a handler to a WM_COMMAND id; it wins over the default IDOK/IDCANCEL actions.
  void OnCommandId(int id, std::function<void()> handler);

  // The standard initialisation: controls filled from the members, window centred on the
  // screen. Answers TRUE to let the dialog manager put the focus on the first tab stop.
  virtual BOOL OnInitDialog();
  virtual void ExchangeData(DataExchange&) {}
  // The OK action: members pulled from the controls, dialog ended with IDOK.
  virtual void OnOK();
  virtual void OnCancel() { EndPage(IDCANCEL); }
  // Paint hook; answers false to leave painting to the default handling.
  virtual bool OnPaint() { return false; }
  // Control-colour hook; a null brush leaves the default colouring.
  virtual HBRUSH OnControlColor(HDC, HWND) { return nullptr; }
  // System-command hook; answers false for the default handling.
  virtual bool OnSystemCommand(WPARAM) { return false; }

  void EndPage(INT_PTR code);
  void PushData();
  void PullData();

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CentreOnScreen();

  int templateId_;
  HWND window_ = nullptr;
  bool hidden_ = false;
  bool ended_ = false;
  INT_PTR result_ = -1;
  std::map<int, std::function<void()>> commands_;
};

}  // namespace framework
