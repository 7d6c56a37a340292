#include "shell/resource_colors.h"

#include <gtest/gtest.h>

namespace kolvre {
namespace {

TEST(ListColours, TypeColumnAndSelectedRowFollowTheType) {
  struct Row {
    ResType type;
    ListColor text, pane, focusText, focusBack;
  };
  using C = ListColor;
  const Row rows[] = {
      {ResType::Manifest, C::fixed(kBlack), C::fixed(kLightGrey), C::fixed(kBlack),
       C::fixed(kLightGrey)},
      {ResType::VersionInfo, C::fixed(kBlack), C::fixed(kLightGrey), C::fixed(kBlack),
       C::fixed(kLightGrey)},
      {ResType::Bitmap, C::fixed(kWhite), C::fixed(kRed), C::fixed(kWhite), C::fixed(kRed)},
      {ResType::Cursor, C::fixed(kBlack), C::fixed(kYellow), C::fixed(kBlack), C::fixed(kYellow)},
      {ResType::Dialog, C::fixed(kBlack), C::window(), C::fixed(kWhite), C::highlight()},
      {ResType::Icon, C::fixed(kBlack), C::fixed(kGreen), C::fixed(kBlack), C::fixed(kGreen)},
  };
  for (const Row& r : rows) {
    const ResourceIndex index{{"X", r.type, 0}};
    EXPECT_EQ(RESCOLORTEXT(2, index, 1), r.text);
    EXPECT_EQ(RESCOLORPANE(2, index, 1), r.pane);
    EXPECT_EQ(RESCOLORFOREFOCUS(index, 1), r.focusText);
    EXPECT_EQ(RESCOLORBACKFOCUS(index, 1), r.focusBack);
    EXPECT_EQ(RESCOLORTEXT(1, index, 1), C::fixed(kBlack));
    EXPECT_EQ(RESCOLORPANE(1, index, 1), C::window());
  }
}

TEST(ListColours, EmptyIndexTakesTheDialogColours) {
  const ResourceIndex empty;
  EXPECT_EQ(RESCOLORPANE(2, empty, 1), ListColor::window());
  EXPECT_EQ(RESCOLORFOREFOCUS(empty, 1), ListColor::fixed(kWhite));
  EXPECT_EQ(RESCOLORBACKFOCUS(empty, 1), ListColor::highlight());
}

}  // namespace
}  // namespace kolvre
