#include "install/pages/painted_on_timer.h"

#include <commctrl.h>

#include "install/engine/copy_profile.h"

namespace pages {

namespace {

constexpr UINT_PTR kRepaintTimer = 1;
// At most one repaint of a control in this time, about two frames of a screen.
constexpr UINT kRepaintMs = 30;

// Kept in the control's user data: the control's own window procedure, whether its
// repaint is due, and the bar's position not yet handed to the bar.
struct PaintedOnTimer {
  WNDPROC original = nullptr;
  bool repaintDue = false;
  bool positionPending = false;
  WPARAM position = 0;
};

// The worker sends the status text and the bar's position once per file, and each control
// would repaint inside each send while the worker waits. Here they take the new value at
// once (and answer it when asked) but paint on a timer, at most every kRepaintMs.
LRESULT CALLBACK PaintOnTimerProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<PaintedOnTimer*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  const WNDPROC original = state->original;
  auto applyPosition = [&] {
    if (!state->positionPending) return;
    state->positionPending = false;
    CallWindowProcW(original, control, PBM_SETPOS, state->position, 0);  // the bar paints itself here
  };
  switch (message) {
    case WM_PAINT: {
      const engine::ProfileTimer timer(engine::ProfileStep::kPainting);
      return CallWindowProcW(original, control, message, wParam, lParam);
    }
    case WM_TIMER:
      if (wParam != kRepaintTimer) break;
      KillTimer(control, kRepaintTimer);
      state->repaintDue = false;
      if (state->positionPending) {
        applyPosition();
      } else {
        InvalidateRect(control, nullptr, TRUE);
      }
      return 0;
    case WM_SETTEXT:
    case PBM_SETPOS: {
      LRESULT result = 0;
      if (message == WM_SETTEXT) {
        // The text alone; the static control would paint it at once.
        result = DefWindowProcW(control, message, wParam, lParam);
      } else {
        result = state->positionPending ? static_cast<LRESULT>(state->position)
                                        : CallWindowProcW(original, control, PBM_GETPOS, 0, 0);
        state->position = wParam;
        state->positionPending = true;
      }
      // A repaint already due is not put off by a later value.
      if (!state->repaintDue) {
        state->repaintDue = true;
        SetTimer(control, kRepaintTimer, kRepaintMs, nullptr);
      }
      return result;
    }
    case PBM_GETPOS:
      if (state->positionPending) return static_cast<LRESULT>(state->position);
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      delete state;
      return CallWindowProcW(original, control, message, wParam, lParam);
    default:
      // Any other request of the bar sees the latest position.
      if (message >= WM_USER) applyPosition();
      break;
  }
  return CallWindowProcW(original, control, message, wParam, lParam);
}

}  // namespace

void PaintOnTimer(HWND control) {
  auto* state = new PaintedOnTimer;
  SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  state->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintOnTimerProc)));
}

}  // namespace pages
