// Dialog units and pixels: one horizontal unit is 1.75 pixels and one vertical unit 1.625
// pixels for every dialog font. Conversions round to the nearest pixel or unit, halves away
// from zero, in exact integer arithmetic so that no value lands on the wrong side of a half.
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

// A rectangle given by its top-left corner and its size, in dialog units or in pixels.
struct UnitRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const UnitRect&, const UnitRect&) = default;
};

// Each of the four numbers is converted on its own, as a dialog template's rectangle is.
constexpr UnitRect duToPixels(const UnitRect& du) {
  return {duToPixelsX(du.x), duToPixelsY(du.y), duToPixelsX(du.width), duToPixelsY(du.height)};
}

}  // namespace kolvre
