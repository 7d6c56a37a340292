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
    EXPECT_EQ(cellTextColor(kTypeColumn, index, 0), r.text);
    EXPECT_EQ(cellBackgroundColor(kTypeColumn, index, 0), r.pane);
    EXPECT_EQ(focusTextColor(index, 0), r.focusText);
    EXPECT_EQ(focusBackgroundColor(index, 0), r.focusBack);
    EXPECT_EQ(cellTextColor(kNameColumn, index, 0), C::fixed(kBlack));
    EXPECT_EQ(cellBackgroundColor(kNameColumn, index, 0), C::window());
  }
}

TEST(ListColours, EmptyIndexTakesTheDialogColours) {
  const ResourceIndex empty;
  EXPECT_EQ(cellBackgroundColor(kTypeColumn, empty, 0), ListColor::window());
  EXPECT_EQ(focusTextColor(empty, 0), ListColor::fixed(kWhite));
  EXPECT_EQ(focusBackgroundColor(empty, 0), ListColor::highlight());
}

}  // namespace
}  // namespace kolvre
