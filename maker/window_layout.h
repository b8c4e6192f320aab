// The maker window's controls as data: kind, group and index, caption, and
// geometry in twips, listed in tab order. Portable: the Win32 window creates
// its controls from this table, and the tests check the table on its own.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kelmo {

enum class ControlKind { Frame, Option, Command, Text, List, Label };

// The indexed groups share one click handler each; `None` marks a control
// that stands alone (its index is then 0).
enum class ControlGroup { None, KelmoSet, TimingSet, SizeSet, Cmd, ListButtons };

struct ControlRow {
  std::wstring_view name;  // fraKelmoSet, optSizeSet, txtCmd, ...
  ControlKind kind;
  ControlGroup group;
  int index;                  // index within `group`
  std::wstring_view caption;  // "&" marks the access key
  int frame;                  // tab index of the enclosing frame, -1 = the window
  // Twips; left and top relative to the enclosing frame's top left corner
  // for option buttons, to the client area's for everything else.
  int left, top, width, height;
};

inline constexpr int kMakerClientWidthTwips = 5352;
inline constexpr int kMakerClientHeightTwips = 6264;

inline constexpr std::size_t kMakerControlCount = 26;

// Every control of the window, in tab order (which is also creation order).
const std::array<ControlRow, kMakerControlCount>& MakerControls();

struct PixelRect {
  int left, top, width, height;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
};

// Twips to pixels at `dotsPerInch`, rounded to the nearest pixel (halves
// away from zero), as MulDiv(twips, dotsPerInch, 1440) gives it.
int TwipsToPixels(int twips, int dotsPerInch);

// The control at `tabIndex` (< kMakerControlCount) in client-area pixels. Option buttons are placed
// at their frame's offset, so the window can make every control a child of
// itself. Both edges are converted from absolute twips and the size is
// their difference, so controls that share an edge in twips share it in
// pixels too and no rounding error adds up along a row.
PixelRect ControlPixelRect(std::size_t tabIndex, int dpiX, int dpiY);

// The client area's size in pixels.
PixelRect ClientPixelRect(int dpiX, int dpiY);

// The font every control uses.
inline constexpr wchar_t kMakerFontFace[] = L"ＭＳ Ｐゴシック";
inline constexpr int kMakerFontTenthsOfPoint = 102;
inline constexpr int kMakerFontWeight = 400;
inline constexpr int kMakerFontCharset = 128;  // SHIFTJIS_CHARSET

// LOGFONT height of the font at `dotsPerInch`: minus the character height in
// pixels (10.2 pt = 102/720 inch), rounded like MulDiv.
int MakerFontHeight(int dotsPerInch);

}  // namespace kelmo
