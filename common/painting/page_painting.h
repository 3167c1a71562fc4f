// The two decorations the setup pages paint under their controls, and the children that
// give a screen reader the texts they paint. Coordinates are device pixels of the client
// area; W is its width.
#pragma once

#include <windows.h>

namespace painting {

struct Decoration {
  enum class Kind {
    // Inner pages: a white band (0, 0, W, 60) with the bold title at (20, 5), the plain
    // subtitle at (30, 25) and the icon at (W - 60, 10); etched lines at y = 60 and y = 270.
    kHeaderBand,
    // First and last pages: a white area (0, 0, W, 280) beside the banner picture, the bold
    // title at (200, 25), the body wrapped into (200, 80, W - 30, 200), an etched line at 281.
    kBannerPage,
  };
  Kind kind;
  const char* title;
  const char* text;     // the subtitle or the body; may be empty
  HICON icon = nullptr;  // the header band's
};

// In the page's paint handler.
void Paint(HWND page, const Decoration& decoration);

// Once, when the page is initialised: each text the decoration paints gets a visible child
// of the page whose window text is that text, first in the page's reading and tab order (a
// static, never a tab stop), lying over the painted text and painting it with the same
// code, so that the page's pixels stay what the painting alone makes them.
void ExposeTexts(HWND page, const Decoration& decoration);

}  // namespace painting
