#include "common/painting/page_scale.h"

#include "common/platform/user_interface.h"

namespace painting {

PageScale::PageScale(HWND page) {
  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  LOGFONTW font{};
  const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0));
  if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof font, &font) == 0) {
    // The system font: it grows with the DPI alone.
    units_ = {dpi_, dpi_};
    unitsAt96_ = {kDpiAt100Percent, kDpiAt100Percent};
    return;
  }
  units_ = platform::DialogBaseUnitsOf(dialogFont);
  font.lfHeight = MulDiv(font.lfHeight, kDpiAt100Percent, dpi_);
  font.lfWidth = MulDiv(font.lfWidth, kDpiAt100Percent, dpi_);
  HFONT fontAt96 = CreateFontIndirectW(&font);
  unitsAt96_ = platform::DialogBaseUnitsOf(fontAt96);
  DeleteObject(fontAt96);
  if (unitsAt96_.cx <= 0 || unitsAt96_.cy <= 0) unitsAt96_ = units_;
}

}  // namespace painting
