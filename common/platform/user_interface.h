// Window texts, message boxes, window look-ups and painted text in GBK: the W calls, the
// texts converted through code page 936, so every Windows shows the Chinese text.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

int MessageBoxGbk(HWND owner, const std::string& text, const std::string& caption, UINT style);
bool SetWindowTextGbk(HWND window, const std::string& text);
bool SetDlgItemTextGbk(HWND dialog, int id, const std::string& text);
std::string GetWindowTextGbk(HWND window);

// A top-level window by its whole title, in either form the title can have: as Unicode
// (a Unicode program, or any program on a Chinese Windows), or as the GBK bytes of an
// ANSI program read in this system's code page. On code page 936 the two are one.
HWND FindWindowGbk(const std::string& title);

HFONT CreateFontGbk(int height, int weight, DWORD charSet, const std::string& face);
bool TextOutGbk(HDC dc, int x, int y, const std::string& text);
int DrawTextGbk(HDC dc, const std::string& text, RECT& area, UINT format);

// The base units a dialog in `font` has (the letters' average width, rounded as the dialog
// manager rounds it, and the font's height): dialog templates are laid out in these.
SIZE DialogBaseUnitsOf(HFONT font);

}  // namespace platform
