#include <cstdlib>

#include "common/painting/page_painting.h"
#include "common/painting/page_scale.h"
#include "common/painting/subclassed_child.h"

namespace painting {
namespace {

// The template's bitmap control: the page's static child showing a bitmap.
HWND BannerControl(HWND page) {
  for (HWND child = GetWindow(page, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = L"";
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
      return child;
    }
  }
  return nullptr;
}

// The bitmap drawn for the scale nearest `size`, made that size (halftone) when it is not.
HBITMAP BannerAt(SIZE size, const BannerBitmaps& bitmaps) {
  const auto distance = [&](std::size_t at) {
    return std::abs(MulDiv(kBannerSize.cy, kBannerPercents[at], 100) - size.cy);
  };
  std::size_t nearest = 0;
  for (std::size_t i = 1; i < bitmaps.size(); ++i) {
    if (distance(i) < distance(nearest)) nearest = i;
  }
  auto drawn = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmaps[nearest]), IMAGE_BITMAP, 0, 0, 0));
  BITMAP drawnSize{};
  if (drawn == nullptr || GetObjectW(drawn, sizeof drawnSize, &drawnSize) == 0) return drawn;
  if (drawnSize.bmWidth == size.cx && drawnSize.bmHeight == size.cy) return drawn;
  HDC screen = GetDC(nullptr);
  HDC from = CreateCompatibleDC(screen);
  HDC to = CreateCompatibleDC(screen);
  HBITMAP scaled = CreateCompatibleBitmap(screen, size.cx, size.cy);
  HGDIOBJ previousFrom = SelectObject(from, drawn);
  HGDIOBJ previousTo = SelectObject(to, scaled);
  SetStretchBltMode(to, HALFTONE);
  SetBrushOrgEx(to, 0, 0, nullptr);
  StretchBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, drawnSize.bmWidth, drawnSize.bmHeight, SRCCOPY);
  SelectObject(to, previousTo);
  SelectObject(from, previousFrom);
  DeleteDC(to);
  DeleteDC(from);
  ReleaseDC(nullptr, screen);
  DeleteObject(drawn);
  return scaled;
}

// The bitmap a banner control shows, which the control does not delete itself.
struct ShownBanner : ChildData {
  explicit ShownBanner(HBITMAP shown) : bitmap(shown) {}
  ~ShownBanner() override { DeleteObject(bitmap); }
  ShownBanner(const ShownBanner&) = delete;
  ShownBanner& operator=(const ShownBanner&) = delete;
  HBITMAP bitmap;
};

LRESULT CALLBACK ShownBannerProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlHandling(control, message, wParam, lParam);
}

}  // namespace

void ScaleBanner(HWND page, const BannerBitmaps& bitmaps) {
  const PageScale scale(page);
  HWND control = BannerControl(page);
  if (scale.IsIdentity() || control == nullptr) return;
  HBITMAP shown = BannerAt({scale.X(kBannerSize.cx), scale.Y(kBannerSize.cy)}, bitmaps);
  if (shown == nullptr) return;
  // The control takes the new bitmap's size; the one it loaded from the template is ours
  // to delete once replaced.
  Subclass(control, new ShownBanner(shown), ShownBannerProcedure);
  DeleteObject(reinterpret_cast<HGDIOBJ>(SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown))));
}

}  // namespace painting
