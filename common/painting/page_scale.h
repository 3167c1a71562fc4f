// How much larger than at 96 DPI a page is drawn, for what the pages paint themselves in
// pixels: the one scaling of their 96-DPI geometry.
#pragma once

#include <windows.h>

namespace painting {

class PageScale {
 public:
  // The scale of `page`, a dialog: its font's base units now against the same font's at
  // 96 DPI, so that the painting grows with the controls whatever font Windows put in for
  // the template's; its fonts grow with the DPI, as the dialog's own font does. The
  // identity at 96 DPI.
  explicit PageScale(HWND page);
  // The 96-DPI page's own: the identity.
  PageScale() = default;

  // A length or position given at 96 DPI, across and down the page, and a font's height.
  int X(int at96) const { return Scaled(at96, units_.cx, unitsAt96_.cx); }
  int Y(int at96) const { return Scaled(at96, units_.cy, unitsAt96_.cy); }
  int FontHeight(int at96) const { return Scaled(at96, dpi_, kDpiAt100Percent); }
  // A position across the page, back at 96 DPI.
  int XAt96(int now) const { return Scaled(now, unitsAt96_.cx, units_.cx); }
  bool IsIdentity() const { return units_.cx == unitsAt96_.cx && units_.cy == unitsAt96_.cy; }

 private:
  static constexpr int kDpiAt100Percent = 96;
  static int Scaled(int at96, int now, int then) { return MulDiv(at96, now, then); }

  int dpi_ = kDpiAt100Percent;
  SIZE units_{1, 1};
  SIZE unitsAt96_{1, 1};
};

}  // namespace painting
