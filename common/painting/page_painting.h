// The two decorations the setup pages paint under their controls, and the children that
// give a screen reader the texts they paint. Coordinates are device pixels of the client
// area; W is its width.
#pragma once

#include <windows.h>

namespace painting {

// Where the decorations are painted: the one place of their geometry.
// Inner pages: a white band (0, 0, W, kHeaderBottom) with the bold title and the plain
// subtitle, the icon kHeaderIconFromRight from the right edge; etched lines (a dark row and
// a white one below it) at the band's bottom and at kHeaderFooterLine, kLineMargin in from
// either side.
inline constexpr int kHeaderBottom = 60;
inline constexpr POINT kHeaderTitle{20, 5};
inline constexpr POINT kHeaderSubtitle{30, 25};
inline constexpr int kHeaderIconFromRight = 60;
inline constexpr int kHeaderIconTop = 10;
inline constexpr int kHeaderFooterLine = 270;
// First and last pages: a white area (0, 0, W, kBannerBottom) beside the banner picture,
// the bold title, the body wrapped into (left, top, W - right margin, bottom), an etched
// line just below the white area.
inline constexpr int kBannerBottom = 280;
inline constexpr POINT kBannerTitle{200, 25};
inline constexpr int kBannerBodyLeft = 200, kBannerBodyTop = 80, kBannerBodyRightMargin = 30, kBannerBodyBottom = 200;
inline constexpr int kBannerFooterLine = kBannerBottom + 1;
inline constexpr int kLineMargin = 5;

struct Decoration {
  enum class Kind {
    kHeaderBand,  // inner pages
    kBannerPage,  // first and last pages
  };
  Kind kind;
  const char* title;
  const char* text;      // the subtitle or the body; may be empty
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
