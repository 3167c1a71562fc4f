#include "tests/e2e/support/screen.h"

namespace e2e {

ClientSnapshot::ClientSnapshot(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  width_ = client.right;
  height_ = client.bottom;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const DWORD* source = static_cast<const DWORD*>(bits);
  pixels_.assign(source, source + static_cast<size_t>(width_) * height_);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

COLORREF ClientSnapshot::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const DWORD value = pixels_[static_cast<size_t>(y) * width_ + x];
  return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

bool ClientSnapshot::AnyPixelOtherThan(RECT area, COLORREF colour) const {
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (Pixel(x, y) != colour) return true;
    }
  }
  return false;
}

}  // namespace e2e
