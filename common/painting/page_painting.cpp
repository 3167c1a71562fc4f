#include "common/painting/page_painting.h"

namespace painting {
namespace {

HFONT CreatePageFont(int weight) {
  return CreateFontA(-12, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "宋体");
}

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

}  // namespace

void HeaderBand(HWND page, const char* title, const char* subtitle, HICON icon) {
  PaintTools tools;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(page, &paint);
  RECT client;
  GetClientRect(page, &client);
  const int width = client.right;
  client.bottom = 60;
  FillRect(dc, &client, tools.white);
  if (icon != nullptr) DrawIcon(dc, width - 60, 10, icon);
  HGDIOBJ previousFont = SelectObject(dc, tools.title);
  TextOutA(dc, 20, 5, title, lstrlenA(title));
  SelectObject(dc, tools.body);
  TextOutA(dc, 30, 25, subtitle, lstrlenA(subtitle));
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
  EndPaint(page, &paint);
}

void BannerPage(HWND page, const char* title, const char* body) {
  PaintTools tools;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(page, &paint);
  RECT client;
  GetClientRect(page, &client);
  const int width = client.right;
  client.bottom = 280;
  FillRect(dc, &client, tools.white);
  HGDIOBJ previousFont = SelectObject(dc, tools.title);
  TextOutA(dc, 200, 25, title, lstrlenA(title));
  SelectObject(dc, tools.body);
  RECT bodyArea{200, 80, width - 30, 200};
  DrawTextA(dc, body, -1, &bodyArea, DT_WORDBREAK);
  SelectObject(dc, previousFont);
  HGDIOBJ previousPen = SelectObject(dc, tools.grey);
  Line(dc, 5, width - 5, 281);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  Line(dc, 5, width - 5, 282);
  SelectObject(dc, previousPen);
  EndPaint(page, &paint);
}

}  // namespace painting
