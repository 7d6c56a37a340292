#include "messages/dialog_units.h"

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

}  // namespace
}  // namespace kolvre
