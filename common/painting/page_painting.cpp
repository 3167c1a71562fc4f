#include "common/painting/page_painting.h"
#include "common/platform/user_interface.h"

namespace painting {
namespace {

HFONT CreatePageFont(int weight) { return platform::CreateFontGbk(-12, weight, ANSI_CHARSET, "宋体"); }

void Line(HDC dc, int fromX, int toX, int y) {
  MoveToEx(dc, fromX, y, nullptr);
  LineTo(dc, toX, y);
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

// One paint: begun at construction, the white area (0, 0, W, whiteBottom) filled, ended
// at destruction before the tools are deleted.
class Painting {
 public:
  Painting(HWND page, int whiteBottom) : page_(page), dc_(BeginPaint(page, &paint_)) {
    RECT client;
    GetClientRect(page, &client);
    width_ = client.right;
    client.bottom = whiteBottom;
    FillRect(dc_, &client, tools_.white);
  }
  ~Painting() { EndPaint(page_, &paint_); }
  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  const PaintTools& Tools() const { return tools_; }

 private:
  PaintTools tools_;  // members outlive the destructor body: deleted after EndPaint
  HWND page_;
  PAINTSTRUCT paint_{};
  HDC dc_;
  int width_ = 0;
};

}  // namespace

void HeaderBand(HWND page, const char* title, const char* subtitle, HICON icon) {
  Painting painting(page, 60);
  HDC dc = painting.Dc();
  const int width = painting.Width();
  const PaintTools& tools = painting.Tools();
  if (icon != nullptr) DrawIcon(dc, width - 60, 10, icon);
  HGDIOBJ previousFont = SelectObject(dc, tools.title);
  platform::TextOutGbk(dc, 20, 5, title);
  SelectObject(dc, tools.body);
  platform::TextOutGbk(dc, 30, 25, subtitle);
  SelectObject(dc, previousFont);
  HGDIOBJ previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Line(dc, 5, width - 5, 60);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  Line(dc, 5, width - 5, 61);
  SelectObject(dc, tools.grey);
  Line(dc, 5, width - 5, 270);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  Line(dc, 5, width - 5, 271);
  SelectObject(dc, previousPen);
}

void BannerPage(HWND page, const char* title, const char* body) {
  Painting painting(page, 280);
  HDC dc = painting.Dc();
  const int width = painting.Width();
  const PaintTools& tools = painting.Tools();
  HGDIOBJ previousFont = SelectObject(dc, tools.title);
  platform::TextOutGbk(dc, 200, 25, title);
  SelectObject(dc, tools.body);
  RECT bodyArea{200, 80, width - 30, 200};
  platform::DrawTextGbk(dc, body, bodyArea, DT_WORDBREAK);
  SelectObject(dc, previousFont);
  HGDIOBJ previousPen = SelectObject(dc, tools.grey);
  Line(dc, 5, width - 5, 281);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  Line(dc, 5, width - 5, 282);
  SelectObject(dc, previousPen);
}

}  // namespace painting
