#include "common/painting/page_painting.h"

#include <string>

#include "common/platform/user_interface.h"

namespace painting {
namespace {

HFONT CreatePageFont(int weight) { return platform::CreateFontGbk(-12, weight, ANSI_CHARSET, "宋体"); }

// A line across the page at row `y`, kLineMargin in from either side.
void Line(HDC dc, int width, int y) {
  MoveToEx(dc, kLineMargin, y, nullptr);
  LineTo(dc, width - kLineMargin, y);
}

// An etched line: a row in `darkPen`, a white row below it.
void EtchedLine(HDC dc, int width, int y, HGDIOBJ darkPen) {
  SelectObject(dc, darkPen);
  Line(dc, width, y);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  Line(dc, width, y + 1);
}

// Everything a paint creates, created at its start and deleted at its end.
struct PaintTools {
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HFONT title = CreatePageFont(FW_BOLD);
  HFONT body = CreatePageFont(FW_NORMAL);
  HPEN grey = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
  ~PaintTools() {
    DeleteObject(grey);
    DeleteObject(body);
    DeleteObject(title);
    DeleteObject(white);
  }
};

RECT BannerBodyArea(int width) {
  return {kBannerBodyLeft, kBannerBodyTop, width - kBannerBodyRightMargin, kBannerBodyBottom};
}

void PaintHeaderBand(HDC dc, int width, const Decoration& decoration, const PaintTools& tools) {
  RECT white{0, 0, width, kHeaderBottom};
  FillRect(dc, &white, tools.white);
  if (decoration.icon != nullptr) DrawIcon(dc, width - kHeaderIconFromRight, kHeaderIconTop, decoration.icon);
  HGDIOBJ previousFont = SelectObject(dc, tools.title);
  platform::TextOutGbk(dc, kHeaderTitle.x, kHeaderTitle.y, decoration.title);
  SelectObject(dc, tools.body);
  platform::TextOutGbk(dc, kHeaderSubtitle.x, kHeaderSubtitle.y, decoration.text);
  SelectObject(dc, previousFont);
  HGDIOBJ previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  EtchedLine(dc, width, kHeaderBottom, GetStockObject(BLACK_PEN));
  EtchedLine(dc, width, kHeaderFooterLine, tools.grey);
  SelectObject(dc, previousPen);
}

void PaintBannerPage(HDC dc, int width, const Decoration& decoration, const PaintTools& tools) {
  RECT white{0, 0, width, kBannerBottom};
  FillRect(dc, &white, tools.white);
  HGDIOBJ previousFont = SelectObject(dc, tools.title);
  platform::TextOutGbk(dc, kBannerTitle.x, kBannerTitle.y, decoration.title);
  SelectObject(dc, tools.body);
  RECT bodyArea = BannerBodyArea(width);
  platform::DrawTextGbk(dc, decoration.text, bodyArea, DT_WORDBREAK);
  SelectObject(dc, previousFont);
  HGDIOBJ previousPen = SelectObject(dc, tools.grey);
  EtchedLine(dc, width, kBannerFooterLine, tools.grey);
  SelectObject(dc, previousPen);
}

// The whole decoration into `dc`, whose origin is the page's client area.
void PaintInto(HDC dc, HWND page, const Decoration& decoration) {
  RECT client;
  GetClientRect(page, &client);
  const PaintTools tools;
  if (decoration.kind == Decoration::Kind::kHeaderBand) {
    PaintHeaderBand(dc, client.right, decoration, tools);
  } else {
    PaintBannerPage(dc, client.right, decoration, tools);
  }
}

// A child that shows a painted text: it paints the page's decoration over itself, moved by
// its own place, so its pixels are the page's. Its decoration lives as long as it does.
struct ExposedText {
  WNDPROC staticProcedure;
  Decoration decoration;
  std::string title;
  std::string text;
};

LRESULT CALLBACK ExposedTextProcedure(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* exposed = reinterpret_cast<ExposedText*>(GetWindowLongPtrW(child, GWLP_USERDATA));
  switch (message) {
    case WM_ERASEBKGND: return TRUE;  // the paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(child, &paint);
      HWND page = GetParent(child);
      POINT origin{0, 0};
      MapWindowPoints(child, page, &origin, 1);
      SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
      PaintInto(dc, page, exposed->decoration);
      EndPaint(child, &paint);
      return 0;
    }
    case WM_NCDESTROY: {
      const WNDPROC staticProcedure = exposed->staticProcedure;
      SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProcedure));
      delete exposed;
      return CallWindowProcW(staticProcedure, child, message, wParam, lParam);
    }
    default: return CallWindowProcW(exposed->staticProcedure, child, message, wParam, lParam);
  }
}

// The place a text takes when painted in `font` at `area`'s top left, wrapped within it
// when `wrap` is set.
RECT TextArea(HWND page, const char* text, HFONT font, RECT area, bool wrap) {
  HDC dc = GetDC(page);
  HGDIOBJ previous = SelectObject(dc, font);
  platform::DrawTextGbk(dc, text, area, DT_CALCRECT | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, previous);
  ReleaseDC(page, dc);
  return area;
}

void Expose(HWND page, const Decoration& decoration, const char* text, const RECT& area) {
  if (*text == '\0') return;
  HWND child = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, area.left, area.top,
                               area.right - area.left, area.bottom - area.top, page, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
  if (child == nullptr) return;
  platform::SetWindowTextGbk(child, text);
  auto* exposed = new ExposedText{nullptr, decoration, decoration.title, decoration.text};
  exposed->decoration.title = exposed->title.c_str();
  exposed->decoration.text = exposed->text.c_str();
  SetWindowLongPtrW(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(exposed));
  exposed->staticProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ExposedTextProcedure)));
  // First among the page's children: read, and passed by Tab, before its controls.
  SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

void Paint(HWND page, const Decoration& decoration) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(page, &paint);
  PaintInto(dc, page, decoration);
  EndPaint(page, &paint);
}

void ExposeTexts(HWND page, const Decoration& decoration) {
  const PaintTools tools;
  const bool header = decoration.kind == Decoration::Kind::kHeaderBand;
  RECT client;
  GetClientRect(page, &client);
  const POINT title = header ? kHeaderTitle : kBannerTitle;
  const RECT titleArea =
      TextArea(page, decoration.title, tools.title, {title.x, title.y, client.right, client.bottom}, false);
  const RECT textArea = header ? TextArea(page, decoration.text, tools.body,
                                          {kHeaderSubtitle.x, kHeaderSubtitle.y, client.right, client.bottom}, false)
                               : TextArea(page, decoration.text, tools.body, BannerBodyArea(client.right), true);
  // Each goes first: the second text, then the title before it.
  Expose(page, decoration, decoration.text, textArea);
  Expose(page, decoration, decoration.title, titleArea);
}

}  // namespace painting
