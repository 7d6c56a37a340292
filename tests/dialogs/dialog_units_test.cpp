#include "dialogs/dialog_units.h"

#include <gtest/gtest.h>

namespace kolvre {
namespace {

constexpr BaseUnits kFixed = kFixedBaseUnits;
constexpr BaseUnits kShellDlg8{6, 13};  // MS Shell Dlg 8 and its kin
constexpr BaseUnits kSystem{8, 16};     // no FONT statement

TEST(DialogUnits, ConversionsRoundHalvesAwayFromZero) {
  // {units, x pixels (1.75), y pixels (1.625)}: 2 units = 3.5 and 4 units = 6.5 are halves.
  const int rows[][3] = {{0, 0, 0},    {1, 2, 2},    {2, 4, 3},       {3, 5, 5},     {4, 7, 7},
                         {-2, -4, -3}, {-4, -7, -7}, {255, 446, 414}, {70, 123, 114}};
  for (const auto& [du, x, y] : rows) {
    EXPECT_EQ(duToPixelsX(du, kFixed), x) << du;
    EXPECT_EQ(duToPixelsY(du, kFixed), y) << du;
  }
  EXPECT_EQ(pixelsToDuY(-1, kFixed), -1);  // -0.62
}

TEST(DialogUnits, BaseUnitsOfTheFontScaleEachAxis) {
  // 200 x 100 units: 300 x 163 pixels in MS Shell Dlg 8, 400 x 200 with the system font.
  EXPECT_EQ(toPixels(DialogUnitRect{0, 0, 200, 100}, kShellDlg8), (PixelRect{0, 0, 300, 163}));
  EXPECT_EQ(toPixels(DialogUnitRect{0, 0, 200, 100}, kSystem), (PixelRect{0, 0, 400, 200}));
  // Halves round away from zero: 1 unit across at base 6 is 1.5 pixels.
  EXPECT_EQ(duToPixelsX(1, kShellDlg8), 2);
  EXPECT_EQ(duToPixelsX(-1, kShellDlg8), -2);
  EXPECT_EQ(duToPixelsX(3, kShellDlg8), 5);  // 4.5
  // A font that measured nothing converts to 0 rather than dividing by zero.
  EXPECT_EQ(pixelsToDuX(10, BaseUnits{0, 0}), 0);
  EXPECT_EQ(mulDiv(-7, 3, 2), -11);  // -10.5
  EXPECT_EQ(mulDiv(7, -3, 2), -11);
}

TEST(DialogUnits, UnitsComeBackFromTheirPixelsForEveryUsualFont) {
  // Where a unit is at least a pixel, units -> pixels -> units gives the units back, so a
  // control the user did not move is written back with its own numbers.
  for (const BaseUnits base : {kFixed, kShellDlg8, kSystem, BaseUnits{4, 8}, BaseUnits{9, 19}})
    for (int du = -300; du <= 300; ++du) {
      EXPECT_EQ(pixelsToDuX(duToPixelsX(du, base), base), du) << base.x << " " << du;
      EXPECT_EQ(pixelsToDuY(duToPixelsY(du, base), base), du) << base.y << " " << du;
    }
}

TEST(DialogUnits, RectanglesConvertEachNumberOnItsOwn) {
  // A rectangle's size is converted by itself, not as the difference of converted edges:
  // x 2 -> 4 (3.5) and width 2 -> 4, although x + width = 4 units is 7 pixels.
  EXPECT_EQ(toPixels(DialogUnitRect{2, 4, 2, 4}, kFixed), (PixelRect{4, 7, 4, 7}));
  EXPECT_EQ(toPixels(DialogUnitRect{-2, -4, 255, 70}, kFixed), (PixelRect{-4, -7, 446, 114}));
  for (int du = -50; du <= 50; ++du) {
    const DialogUnitRect units{du, -du, du + 7, 3 * du};
    EXPECT_EQ(toDialogUnits(toPixels(units, kShellDlg8), kShellDlg8), units) << du;
  }
  // Pixels between whole units round to the nearest unit, halves away from zero.
  EXPECT_EQ(toDialogUnits(PixelRect{9, 8, 88, 23}, kFixed), (DialogUnitRect{5, 5, 50, 14}));
}

}  // namespace
}  // namespace kolvre
