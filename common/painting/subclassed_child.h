// A child control with a window procedure of ours before its own, and data of ours that
// lives exactly as long as the control.
#pragma once

#include <windows.h>

namespace painting {

struct ChildData {
  WNDPROC controlProcedure = nullptr;
  virtual ~ChildData() = default;
};

// Puts `procedure` before the control's own; `data`, the control's user data from now on,
// is deleted when the control is.
void Subclass(HWND child, ChildData* data, WNDPROC procedure);

// The data `procedure` was given.
template <class Data>
Data* DataOf(HWND child) {
  return static_cast<Data*>(reinterpret_cast<ChildData*>(GetWindowLongPtrW(child, GWLP_USERDATA)));
}

// The control's own handling of a message, for whatever `procedure` leaves to it; after
// the control's last message the data is deleted.
LRESULT ControlHandling(HWND child, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace painting
