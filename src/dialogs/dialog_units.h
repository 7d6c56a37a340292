// Dialog units and pixels. A dialog's units come from its font: one horizontal unit is a
// quarter of the font's base width and one vertical unit an eighth of its height (the base
// units, see dialog_font.h). Each number converts on its own, rounded to the nearest pixel or
// unit, halves away from zero, as Windows' MulDiv rounds, in exact integer arithmetic so that
// no value lands on the wrong side of a half.
//
// A rectangle in dialog units (as a script writes it) and one in pixels (as a window stands)
// are different types: one becomes the other only through the named conversions below.
#pragma once

namespace kolvre {

// A font's base units in pixels: x the average width of its letters, y its height.
struct BaseUnits {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const BaseUnits&, const BaseUnits&) = default;
};

// The factors 1.75 and 1.625 pixels per unit: the program's own message boxes are laid out in
// them, and a dialog read where no font can be measured (the batch tool without a display,
// the core's tests) stands in them.
inline constexpr BaseUnits kFixedBaseUnits{7, 13};

// `value` * num / den rounded to the nearest integer, halves away from zero, as MulDiv does; a
// den of 0 or less gives 0 (a font that measured nothing).
constexpr int mulDiv(int value, int num, int den) {
  if (den <= 0) return 0;
  const bool negative = (value < 0) != (num < 0);
  const long long a = value < 0 ? -static_cast<long long>(value) : value;
  const long long b = num < 0 ? -static_cast<long long>(num) : num;
  const long long rounded = (2 * a * b + den) / (2LL * den);
  return static_cast<int>(negative ? -rounded : rounded);
}

constexpr int duToPixelsX(int du, BaseUnits base) {
  return mulDiv(du, base.x, 4);
}
constexpr int duToPixelsY(int du, BaseUnits base) {
  return mulDiv(du, base.y, 8);
}
constexpr int pixelsToDuX(int px, BaseUnits base) {
  return mulDiv(px, 4, base.x);
}
constexpr int pixelsToDuY(int px, BaseUnits base) {
  return mulDiv(px, 8, base.y);
}

// A point in pixels: x to the right, y downward; signed, so a point left of or above an area
// is negative.
struct PixelPoint {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A rectangle in pixels, by its top-left corner and its size.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A rectangle in dialog units, by its top-left corner and its size: x, y, cx, cy of a script.
struct DialogUnitRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const DialogUnitRect&, const DialogUnitRect&) = default;
};

// Each of the four numbers is converted on its own, as a dialog template's rectangle is.
constexpr PixelRect toPixels(const DialogUnitRect& du, BaseUnits base) {
  return {duToPixelsX(du.x, base), duToPixelsY(du.y, base), duToPixelsX(du.width, base),
          duToPixelsY(du.height, base)};
}
constexpr DialogUnitRect toDialogUnits(const PixelRect& px, BaseUnits base) {
  return {pixelsToDuX(px.x, base), pixelsToDuY(px.y, base), pixelsToDuX(px.width, base),
          pixelsToDuY(px.height, base)};
}

}  // namespace kolvre
