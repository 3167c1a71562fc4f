#include "common/platform/user_interface.h"

#include "common/platform/gbk_text.h"

namespace platform {

int MessageBoxGbk(HWND owner, const std::string& text, const std::string& caption, UINT style) {
  return MessageBoxW(owner, ShownText(text).c_str(), ShownText(caption).c_str(), style);
}

bool SetWindowTextGbk(HWND window, const std::string& text) { return SetWindowTextW(window, ShownText(text).c_str()); }

bool SetDlgItemTextGbk(HWND dialog, int id, const std::string& text) {
  return SetDlgItemTextW(dialog, id, ShownText(text).c_str());
}

std::string GetWindowTextGbk(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return GbkForShowing(text);
}

HWND FindWindowGbk(const std::string& title) {
  if (HWND window = FindWindowW(nullptr, ShownText(title).c_str())) return window;
  // The one A call of the kit, on purpose: an ANSI program on another Windows shows its
  // GBK title read in the system's code page, and only the system's own conversion
  // matches that.
  return FindWindowA(nullptr, title.c_str());
}

HFONT CreateFontGbk(int height, int weight, DWORD charSet, const std::string& face) {
  return CreateFontW(height, 0, 0, 0, weight, 0, 0, 0, charSet, 0, 0, 0, 0, ShownText(face).c_str());
}

bool TextOutGbk(HDC dc, int x, int y, const std::string& text) {
  const std::wstring shown = ShownText(text);
  return TextOutW(dc, x, y, shown.c_str(), static_cast<int>(shown.size()));
}

int DrawTextGbk(HDC dc, const std::string& text, RECT& area, UINT format) {
  return DrawTextW(dc, ShownText(text).c_str(), -1, &area, format);
}

SIZE DialogBaseUnitsOf(HFONT font) {
  static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  HDC dc = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SIZE letters{};
  GetTextExtentPoint32W(dc, kLetters, 52, &letters);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

}  // namespace platform
