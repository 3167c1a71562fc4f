// The two decorations the setup pages paint under their controls, the children that give
// a screen reader the texts they paint, and the banner picture. Coordinates are pixels of
// the client area at 96 DPI, drawn at the page's scale (PageScale); W is its width.
#pragma once

#include <windows.h>

#include <array>
#include <iterator>

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
// The header band's icon, and the title and text fonts' height.
inline constexpr int kHeaderIconSize = 32;
inline constexpr int kFontHeight = 12;
// The banner picture at the first and last pages' top left (the template's bitmap
// control), drawn for these display scales in percent, in this order; a page shows the
// one nearest its scale, at the page's own size.
inline constexpr SIZE kBannerSize{165, 280};
inline constexpr int kBannerPercents[] = {100, 125, 150, 175, 200};
using BannerBitmaps = std::array<int, std::size(kBannerPercents)>;

struct Decoration {
  enum class Kind {
    kHeaderBand,  // inner pages
    kBannerPage,  // first and last pages
  };
  Kind kind;
  const char* title;
  const char* text;  // the subtitle or the body; may be empty
  int iconId = 0;    // the header band's icon, a resource of the program
};

// In the page's paint handler.
void Paint(HWND page, const Decoration& decoration);

// Once, when the page is initialised: each text the decoration paints gets a visible child
// of the page whose window text is that text, first in the page's reading and tab order (a
// static, never a tab stop), lying over the painted text and painting it with the same
// code, so that the page's pixels stay what the painting alone makes them.
void ExposeTexts(HWND page, const Decoration& decoration);

// Once, when a first or last page is initialised: above 96 DPI its banner control shows
// the banner at the page's scale; at 96 DPI it stays the template's.
void ScaleBanner(HWND page, const BannerBitmaps& bitmaps);

}  // namespace painting
