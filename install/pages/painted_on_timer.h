// The progress page's status line and bar, painted on a timer instead of inside every
// value the worker sends.
#pragma once

#include <windows.h>

namespace pages {

// From now on `control` (a static text or a progress bar) takes each WM_SETTEXT or
// PBM_SETPOS at once, and answers it when asked, but paints at most every 30 ms.
void PaintOnTimer(HWND control);

}  // namespace pages
