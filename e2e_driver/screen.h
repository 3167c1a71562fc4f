// Reading what a page shows on the screen, pixel by pixel.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The client area of a window as the screen shows it at the moment it is taken.
class ClientSnapshot {
 public:
  explicit ClientSnapshot(HWND window);
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF Pixel(int x, int y) const;
  // Whether any pixel of `area` differs from `colour`.
  bool AnyPixelOtherThan(RECT area, COLORREF colour) const;
  const std::vector<DWORD>& Pixels() const { return pixels_; }
  // The picture made `width` × `height`, each pixel the average of the ones it covers.
  std::vector<DWORD> ShrunkTo(int width, int height) const;
  // The first row of column `x` in `colour`; -1 when none is.
  int FirstRowIn(int x, COLORREF colour) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<DWORD> pixels_;  // top-down, 0x00RRGGBB
};

// The share of the pixels of `area` in two pictures `width` wide, outside the `leftOut`
// rectangles, whose colours differ by more than `tolerance` in a channel.
double ShareDiffering(const std::vector<DWORD>& one, const std::vector<DWORD>& other, int width, RECT area,
                      const std::vector<RECT>& leftOut, int tolerance);

// What a screen reader reads of a page's painted texts: its first children, in reading
// order, are statics holding exactly `texts` (never a tab stop), the accessibility layer
// names them, and the page's pixels are the same with them hidden, when only the page's
// own painting shows, as with them shown.
void ExpectPaintedTextsReadable(HWND page, const std::vector<std::string>& texts);

// The name the accessibility layer gives a control's client area, as GBK; empty when it
// gives none.
std::string AccessibleNameOf(HWND control);

// Saves the whole screen as a 24-bit BMP file; false when it cannot be written.
bool SaveScreen(const std::string& path);

}  // namespace e2e
