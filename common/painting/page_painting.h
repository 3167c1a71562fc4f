// The two decorations the setup pages paint under their controls. Coordinates are device
// pixels of the client area; W is its width.
#pragma once

#include <windows.h>

namespace painting {

// Inner pages: a white band (0, 0, W, 60) with the bold title at (20, 5), the plain
// subtitle at (30, 25) and the icon at (W - 60, 10); etched lines at y = 60 and y = 270.
void HeaderBand(HWND page, const char* title, const char* subtitle, HICON icon);

// First and last pages: a white area (0, 0, W, 280) beside the banner picture, the bold
// title at (200, 25), the body wrapped into (200, 80, W - 30, 200), an etched line at 281.
void BannerPage(HWND page, const char* title, const char* body);

}  // namespace painting
