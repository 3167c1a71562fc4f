#include "common/painting/page_painting.h"

#include <string>

#include "common/painting/page_scale.h"
#include "common/painting/subclassed_child.h"
#include "common/platform/user_interface.h"

namespace painting {
namespace {

// Everything a paint draws with, made at the page's scale at its start and deleted at its
// end.
struct PaintTools {
  explicit PaintTools(const PageScale& pageScale) : scale(pageScale) {}
  ~PaintTools() {
    DeleteObject(body);
    DeleteObject(title);
    DeleteObject(grey);
    DeleteObject(black);
    DeleteObject(white);
  }
  PaintTools(const PaintTools&) = delete;
  PaintTools& operator=(const PaintTools&) = delete;

  HFONT PageFont(int weight) const {
    return platform::CreateFontGbk(-scale.FontHeight(kFontHeight), weight, ANSI_CHARSET, "宋体");
  }

  const PageScale scale;
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
  HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
  HFONT title = PageFont(FW_BOLD);
  HFONT body = PageFont(FW_NORMAL);
};

// An etched line across the page at 96-DPI row `y`, kLineMargin in from either side: a row
// in `dark`, a white row below it, each as high as a 96-DPI row is at the page's scale.
void EtchedLine(HDC dc, int width, int y, const PaintTools& tools, HBRUSH dark) {
  const PageScale& scale = tools.scale;
  const int left = scale.X(kLineMargin);
  const int right = width - scale.X(kLineMargin);
  const RECT darkRow{left, scale.Y(y), right, scale.Y(y + 1)};
  const RECT whiteRow{left, scale.Y(y + 1), right, scale.Y(y + 2)};
  FillRect(dc, &darkRow, dark);
  FillRect(dc, &whiteRow, tools.white);
}

void Text(HDC dc, const PageScale& scale, POINT at96, HFONT font, const char* text) {
  HGDIOBJ previous = SelectObject(dc, font);
  platform::TextOutGbk(dc, scale.X(at96.x), scale.Y(at96.y), text);
  SelectObject(dc, previous);
}

RECT BannerBodyArea(const PageScale& scale, int width) {
  return {scale.X(kBannerBodyLeft), scale.Y(kBannerBodyTop), width - scale.X(kBannerBodyRightMargin),
          scale.Y(kBannerBodyBottom)};
}

// The icon's image nearest the size it is drawn at, made to that size.
void HeaderIcon(HDC dc, int width, int iconId, const PageScale& scale) {
  const int size = scale.Y(kHeaderIconSize);
  auto icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  if (icon == nullptr) return;
  DrawIconEx(dc, width - scale.X(kHeaderIconFromRight), scale.Y(kHeaderIconTop), icon, size, size, 0, nullptr,
             DI_NORMAL);
  DestroyIcon(icon);
}

void PaintHeaderBand(HDC dc, int width, const Decoration& decoration, const PaintTools& tools) {
  const PageScale& scale = tools.scale;
  const RECT white{0, 0, width, scale.Y(kHeaderBottom)};
  FillRect(dc, &white, tools.white);
  if (decoration.iconId != 0) HeaderIcon(dc, width, decoration.iconId, scale);
  Text(dc, scale, kHeaderTitle, tools.title, decoration.title);
  Text(dc, scale, kHeaderSubtitle, tools.body, decoration.text);
  EtchedLine(dc, width, kHeaderBottom, tools, tools.black);
  EtchedLine(dc, width, kHeaderFooterLine, tools, tools.grey);
}

void PaintBannerPage(HDC dc, int width, const Decoration& decoration, const PaintTools& tools) {
  const PageScale& scale = tools.scale;
  const RECT white{0, 0, width, scale.Y(kBannerBottom)};
  FillRect(dc, &white, tools.white);
  Text(dc, scale, kBannerTitle, tools.title, decoration.title);
  HGDIOBJ previousFont = SelectObject(dc, tools.body);
  RECT bodyArea = BannerBodyArea(scale, width);
  platform::DrawTextGbk(dc, decoration.text, bodyArea, DT_WORDBREAK);
  SelectObject(dc, previousFont);
  EtchedLine(dc, width, kBannerFooterLine, tools, tools.grey);
}

// The whole decoration into `dc`, whose origin is the page's client area.
void PaintInto(HDC dc, HWND page, const Decoration& decoration) {
  RECT client;
  GetClientRect(page, &client);
  const PaintTools tools{PageScale(page)};
  if (decoration.kind == Decoration::Kind::kHeaderBand) {
    PaintHeaderBand(dc, client.right, decoration, tools);
  } else {
    PaintBannerPage(dc, client.right, decoration, tools);
  }
}

// A child that shows a painted text: it paints the page's decoration over itself, moved by
// its own place, so its pixels are the page's. Its decoration lives as long as it does.
struct ExposedText : ChildData {
  ExposedText(const Decoration& shown) : decoration(shown), title(shown.title), text(shown.text) {
    decoration.title = title.c_str();
    decoration.text = text.c_str();
  }
  Decoration decoration;
  std::string title;
  std::string text;
};

LRESULT CALLBACK ExposedTextProcedure(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return TRUE;  // the paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(child, &paint);
      HWND page = GetParent(child);
      POINT origin{0, 0};
      MapWindowPoints(child, page, &origin, 1);
      SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
      PaintInto(dc, page, DataOf<ExposedText>(child)->decoration);
      EndPaint(child, &paint);
      return 0;
    }
    default: return ControlHandling(child, message, wParam, lParam);
  }
}

// Where a text is painted, as the painting's geometry has it: the place the text takes on
// the 96-DPI page (painted in `fontAt96` at `areaAt96`'s top left, wrapped within it when
// `wrap` is set), at the page's scale.
RECT TextArea(HWND page, const PageScale& scale, const char* text, HFONT fontAt96, RECT areaAt96, bool wrap) {
  HDC dc = GetDC(page);
  HGDIOBJ previous = SelectObject(dc, fontAt96);
  platform::DrawTextGbk(dc, text, areaAt96, DT_CALCRECT | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, previous);
  ReleaseDC(page, dc);
  return {scale.X(areaAt96.left), scale.Y(areaAt96.top), scale.X(areaAt96.right), scale.Y(areaAt96.bottom)};
}

void Expose(HWND page, const Decoration& decoration, const char* text, const RECT& area) {
  if (*text == '\0') return;
  HWND child = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, area.left, area.top,
                               area.right - area.left, area.bottom - area.top, page, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
  if (child == nullptr) return;
  platform::SetWindowTextGbk(child, text);
  Subclass(child, new ExposedText(decoration), ExposedTextProcedure);
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
  const PageScale scale(page);
  const PaintTools toolsAt96{PageScale()};
  const bool header = decoration.kind == Decoration::Kind::kHeaderBand;
  RECT client;
  GetClientRect(page, &client);
  const int widthAt96 = scale.XAt96(client.right);
  // A single line from its top left; measuring gives its extent.
  const auto lineFrom = [&](POINT at96) -> RECT { return {at96.x, at96.y, widthAt96, at96.y}; };
  const RECT titleArea =
      TextArea(page, scale, decoration.title, toolsAt96.title, lineFrom(header ? kHeaderTitle : kBannerTitle), false);
  const RECT textArea =
      header ? TextArea(page, scale, decoration.text, toolsAt96.body, lineFrom(kHeaderSubtitle), false)
             : TextArea(page, scale, decoration.text, toolsAt96.body, BannerBodyArea(toolsAt96.scale, widthAt96), true);
  // Each goes first: the second text, then the title before it.
  Expose(page, decoration, decoration.text, textArea);
  Expose(page, decoration, decoration.title, titleArea);
}

}  // namespace painting
