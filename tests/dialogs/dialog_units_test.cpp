#include "dialogs/dialog_units.h"

#include <gtest/gtest.h>

namespace kolvre {
namespace {

TEST(DialogUnits, ConversionsRoundHalvesAwayFromZero) {
  // {units, x pixels (1.75), y pixels (1.625)}: 2 units = 3.5 and 4 units = 6.5 are halves.
  const int rows[][3] = {{0, 0, 0},    {1, 2, 2},    {2, 4, 3},       {3, 5, 5},     {4, 7, 7},
                         {-2, -4, -3}, {-4, -7, -7}, {255, 446, 414}, {70, 123, 114}};
  for (const auto& [du, x, y] : rows) {
    EXPECT_EQ(duToPixelsX(du), x) << du;
    EXPECT_EQ(duToPixelsY(du), y) << du;
  }
  for (int du = -300; du <= 300; ++du) {
    EXPECT_EQ(pixelsToDuX(duToPixelsX(du)), du);
    EXPECT_EQ(pixelsToDuY(duToPixelsY(du)), du);
  }
  EXPECT_EQ(pixelsToDuY(-1), -1);  // -0.62
}

TEST(DialogUnits, RectanglesConvertEachNumberOnItsOwn) {
  // A rectangle's size is converted by itself, not as the difference of converted edges:
  // x 2 -> 4 (3.5) and width 2 -> 4, although x + width = 4 units is 7 pixels.
  EXPECT_EQ(toPixels(DialogUnitRect{2, 4, 2, 4}), (PixelRect{4, 7, 4, 7}));
  EXPECT_EQ(toPixels(DialogUnitRect{-2, -4, 255, 70}), (PixelRect{-4, -7, 446, 114}));
  for (int du = -50; du <= 50; ++du) {
    const DialogUnitRect units{du, -du, du + 7, 3 * du};
    EXPECT_EQ(toDialogUnits(toPixels(units)), units) << du;
  }
  // Pixels between whole units round to the nearest unit, halves away from zero.
  EXPECT_EQ(toDialogUnits(PixelRect{9, 8, 88, 23}), (DialogUnitRect{5, 5, 50, 14}));
}

}  // namespace
}  // namespace kolvre
