#include "e2e_driver/screen.h"

#include <oleacc.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include <gtest/gtest.h>

#include "e2e_driver/process.h"
#include "e2e_driver/wide.h"

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

std::vector<DWORD> ClientSnapshot::ShrunkTo(int width, int height) const {
  std::vector<DWORD> shrunk(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // The pixels whose top left lies in this one's place, at least one.
      const int left = x * width_ / width, right = std::max(left + 1, (x + 1) * width_ / width);
      const int top = y * height_ / height, bottom = std::max(top + 1, (y + 1) * height_ / height);
      unsigned sum[3] = {0, 0, 0};
      for (int sy = top; sy < bottom; ++sy) {
        for (int sx = left; sx < right; ++sx) {
          const DWORD value = pixels_[static_cast<std::size_t>(sy) * width_ + sx];
          for (int channel = 0; channel < 3; ++channel) sum[channel] += (value >> (8 * channel)) & 0xFF;
        }
      }
      const unsigned count = static_cast<unsigned>((right - left) * (bottom - top));
      DWORD average = 0;
      for (int channel = 0; channel < 3; ++channel) average |= (sum[channel] / count) << (8 * channel);
      shrunk[static_cast<std::size_t>(y) * width + x] = average;
    }
  }
  return shrunk;
}

int ClientSnapshot::FirstRowIn(int x, COLORREF colour) const {
  for (int y = 0; y < height_; ++y) {
    if (Pixel(x, y) == colour) return y;
  }
  return -1;
}

double ShareDiffering(const std::vector<DWORD>& one, const std::vector<DWORD>& other, int width, RECT area,
                      const std::vector<RECT>& leftOut, int tolerance) {
  int compared = 0, differing = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const POINT at{x, y};
      if (std::any_of(leftOut.begin(), leftOut.end(), [&](const RECT& out) { return PtInRect(&out, at); })) continue;
      const std::size_t i = static_cast<std::size_t>(y) * width + x;
      ++compared;
      for (int channel = 0; channel < 3; ++channel) {
        const int a = static_cast<int>((one[i] >> (8 * channel)) & 0xFF);
        const int b = static_cast<int>((other[i] >> (8 * channel)) & 0xFF);
        if (std::abs(a - b) > tolerance) {
          ++differing;
          break;
        }
      }
    }
  }
  return compared == 0 ? 1.0 : static_cast<double>(differing) / compared;
}

bool SaveScreen(const std::string& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const int stride = (width * 3 + 3) & ~3;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride) * height;
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  bool saved = out != INVALID_HANDLE_VALUE && WriteFile(out, &file, sizeof file, &written, nullptr) &&
               WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
               WriteFile(out, bits, static_cast<DWORD>(stride) * height, &written, nullptr);
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

namespace {

// IAccessible's interface id, spelled out: MinGW's uuid and oleacc libraries both define
// IID_IAccessible, and a program that names it links neither cleanly.
constexpr IID kAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// The name the accessibility layer gives `object`, as GBK; empty when it gives none.
std::string AccessibleName(IAccessible* object) {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::string text;
  if (SUCCEEDED(object->get_accName(self, &name)) && name != nullptr) text = Gbk(name);
  SysFreeString(name);
  return text;
}

// The names the accessibility layer gives the window's children, as GBK: each child is a
// window object, named by the window or else by its client area, as screen readers read it.
std::vector<std::string> AccessibleChildNames(HWND window) {
  std::vector<std::string> names;
  IAccessible* client = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kAccessible, reinterpret_cast<void**>(&client)))) {
    return names;
  }
  long count = 0;
  client->get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  long obtained = 0;
  if (count > 0 && SUCCEEDED(AccessibleChildren(client, 0, count, children.data(), &obtained))) {
    for (long i = 0; i < obtained; ++i) {
      IAccessible* child = nullptr;
      if (children[i].vt == VT_DISPATCH && children[i].pdispVal != nullptr &&
          SUCCEEDED(children[i].pdispVal->QueryInterface(kAccessible, reinterpret_cast<void**>(&child)))) {
        std::string name = AccessibleName(child);
        HWND childWindow = nullptr;
        if (name.empty() && SUCCEEDED(WindowFromAccessibleObject(child, &childWindow))) {
          name = AccessibleNameOf(childWindow);
        }
        names.push_back(name);
        child->Release();
      }
      VariantClear(&children[i]);
    }
  }
  client->Release();
  return names;
}

// Where two pictures of `width` differ: their count and the rectangle around them; empty
// when they are the same.
std::string DifferentPixels(const std::vector<DWORD>& one, const std::vector<DWORD>& other, int width) {
  if (one.size() != other.size()) return "sizes differ";
  int count = 0, left = width, top = INT_MAX, right = -1, bottom = -1;
  for (std::size_t i = 0; i < one.size(); ++i) {
    if (one[i] == other[i]) continue;
    const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
    ++count;
    left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
  }
  if (count == 0) return "";
  return std::to_string(count) + " pixels in (" + std::to_string(left) + ", " + std::to_string(top) + ") - (" +
         std::to_string(right) + ", " + std::to_string(bottom) + ")";
}

// Shows or hides children of another program, and waits until its page has painted again.
void ShowChildren(HWND page, const std::vector<HWND>& children, bool shown) {
  for (HWND child : children) ShowWindowAsync(child, shown ? SW_SHOWNA : SW_HIDE);
  WaitUntil([&] {
    for (HWND child : children) {
      if ((IsWindowVisible(child) != FALSE) != shown) return false;
    }
    return true;
  });
  // Painted again without an erase in between, as at the page's first showing: the dialog's
  // erase leaves its grey as the text background of a paint it comes inside.
  RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
  Sleep(300);  // the page's thread paints in its own time
}

}  // namespace

std::string AccessibleNameOf(HWND control) {
  IAccessible* client = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, kAccessible, reinterpret_cast<void**>(&client)))) {
    return "";
  }
  std::string name = AccessibleName(client);
  client->Release();
  return name;
}

void ExpectPaintedTextsReadable(HWND page, const std::vector<std::string>& texts) {
  std::vector<HWND> exposed;
  HWND child = GetWindow(page, GW_CHILD);
  for (const std::string& text : texts) {
    ASSERT_NE(child, nullptr) << text;
    EXPECT_EQ(WindowText(child), text);
    EXPECT_EQ(ClassName(child), "Static") << text;
    EXPECT_TRUE(IsWindowVisible(child)) << text;
    EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP, 0) << text;
    exposed.push_back(child);
    child = GetWindow(child, GW_HWNDNEXT);
  }
  const std::vector<std::string> names = AccessibleChildNames(page);
  std::string read;
  for (const std::string& name : names) read += "[" + name + "]";
  for (const std::string& text : texts) {
    EXPECT_NE(std::find(names.begin(), names.end(), text), names.end()) << text << " is not among " << read;
  }
  Sleep(300);
  const std::vector<DWORD> withTexts = ClientSnapshot(page).Pixels();
  ShowChildren(page, exposed, false);
  const std::vector<DWORD> paintedOnly = ClientSnapshot(page).Pixels();
  ShowChildren(page, exposed, true);
  EXPECT_EQ(DifferentPixels(withTexts, paintedOnly, ClientSnapshot(page).Width()), "")
      << "the texts' children change the page's pixels";
  EXPECT_TRUE(ClientSnapshot(page).Pixels() == withTexts);
}

}  // namespace e2e
