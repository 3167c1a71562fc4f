#include "common/painting/subclassed_child.h"

namespace painting {

void Subclass(HWND child, ChildData* data, WNDPROC procedure) {
  SetWindowLongPtrW(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
  data->controlProcedure =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

LRESULT ControlHandling(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  ChildData* data = DataOf<ChildData>(child);
  const WNDPROC controlProcedure = data->controlProcedure;
  if (message != WM_NCDESTROY) return CallWindowProcW(controlProcedure, child, message, wParam, lParam);
  SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProcedure));
  SetWindowLongPtrW(child, GWLP_USERDATA, 0);
  const LRESULT result = CallWindowProcW(controlProcedure, child, message, wParam, lParam);
  delete data;
  return result;
}

}  // namespace painting
