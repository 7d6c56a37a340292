#include "shell/resource_colors.h"

#include <gtest/gtest.h>

namespace kolvre {
namespace {

TEST(ListColours, TypeColumnAndSelectedRowFollowTheType) {
  struct Row {
    ResourceType type;
    ListColor text, pane, focusText, focusBack;
  };
  using C = ListColor;
  const Row rows[] = {
      {ResourceType::Manifest, C::fixed(kBlack), C::fixed(kLightGrey), C::fixed(kBlack),
       C::fixed(kLightGrey)},
      {ResourceType::VersionInfo, C::fixed(kBlack), C::fixed(kLightGrey), C::fixed(kBlack),
       C::fixed(kLightGrey)},
      {ResourceType::Bitmap, C::fixed(kWhite), C::fixed(kRed), C::fixed(kWhite), C::fixed(kRed)},
      {ResourceType::Cursor, C::fixed(kBlack), C::fixed(kYellow), C::fixed(kBlack),
       C::fixed(kYellow)},
      {ResourceType::Dialog, C::fixed(kBlack), C::window(), C::fixed(kWhite), C::highlight()},
      {ResourceType::Icon, C::fixed(kBlack), C::fixed(kGreen), C::fixed(kBlack), C::fixed(kGreen)},
  };
  for (const Row& r : rows) {
    const ResourceIndex index{{"X", r.type, 0}};
    EXPECT_EQ(cellTextColor(2, index, 1), r.text);
    EXPECT_EQ(cellBackgroundColor(2, index, 1), r.pane);
    EXPECT_EQ(focusTextColor(index, 1), r.focusText);
    EXPECT_EQ(focusBackgroundColor(index, 1), r.focusBack);
    EXPECT_EQ(cellTextColor(1, index, 1), C::fixed(kBlack));
    EXPECT_EQ(cellBackgroundColor(1, index, 1), C::window());
  }
}

TEST(ListColours, EmptyIndexTakesTheDialogColours) {
  const ResourceIndex empty;
  EXPECT_EQ(cellBackgroundColor(2, empty, 1), ListColor::window());
  EXPECT_EQ(focusTextColor(empty, 1), ListColor::fixed(kWhite));
  EXPECT_EQ(focusBackgroundColor(empty, 1), ListColor::highlight());
}

}  // namespace
}  // namespace kolvre
