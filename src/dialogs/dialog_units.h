// Dialog units and pixels: one horizontal unit is 1.75 pixels and one vertical unit 1.625
// pixels for every dialog font. Conversions round to the nearest pixel or unit, halves away
// from zero, in exact integer arithmetic so that no value lands on the wrong side of a half.
//
// A rectangle in dialog units (as a script writes it) and one in pixels (as a window stands)
// are different types: one becomes the other only through the named conversions below.
#pragma once

namespace kolvre {

namespace dialog_units_detail {

// `value` * num / den rounded to the nearest integer, halves away from zero.
constexpr int scaleRounded(int value, int num, int den) {
  const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
  const long long rounded = (2 * magnitude * num + den) / (2 * den);
  return static_cast<int>(value < 0 ? -rounded : rounded);
}

}  // namespace dialog_units_detail

// 1.75 = 7 / 4 and 1.625 = 13 / 8.
constexpr int duToPixelsX(int du) {
  return dialog_units_detail::scaleRounded(du, 7, 4);
}
constexpr int duToPixelsY(int du) {
  return dialog_units_detail::scaleRounded(du, 13, 8);
}
constexpr int pixelsToDuX(int px) {
  return dialog_units_detail::scaleRounded(px, 4, 7);
}
constexpr int pixelsToDuY(int px) {
  return dialog_units_detail::scaleRounded(px, 8, 13);
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
constexpr PixelRect toPixels(const DialogUnitRect& du) {
  return {duToPixelsX(du.x), duToPixelsY(du.y), duToPixelsX(du.width), duToPixelsY(du.height)};
}
constexpr DialogUnitRect toDialogUnits(const PixelRect& px) {
  return {pixelsToDuX(px.x), pixelsToDuY(px.y), pixelsToDuX(px.width), pixelsToDuY(px.height)};
}

}  // namespace kolvre
