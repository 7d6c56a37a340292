#include "shell/resource_colors.h"

#include <array>
#include <optional>

namespace kolvre {

namespace {

struct ColorRow {
  ResType type;
  ListColor text;
  ListColor pane;
  ListColor focusText;
  ListColor focusBack;
};

constexpr ListColor F(std::uint32_t v) {
  return ListColor::fixed(v);
}

constexpr std::array<ColorRow, 6> kColors{{
    {ResType::Manifest, F(kBlack), F(kLightGrey), F(kBlack), F(kLightGrey)},
    {ResType::VersionInfo, F(kBlack), F(kLightGrey), F(kBlack), F(kLightGrey)},
    {ResType::Bitmap, F(kWhite), F(kRed), F(kWhite), F(kRed)},
    {ResType::Cursor, F(kBlack), F(kYellow), F(kBlack), F(kYellow)},
    {ResType::Dialog, F(kBlack), ListColor::window(), F(kWhite), ListColor::highlight()},
    {ResType::Icon, F(kBlack), F(kGreen), F(kBlack), F(kGreen)},
}};

// The row for an entry; the dialog row stands for an empty index.
const ColorRow& rowFor(const ResourceIndex& index, int row) {
  ResType type = ResType::Dialog;
  if (row >= 1 && static_cast<std::size_t>(row) <= index.size()) type = index[row - 1].type;
  return kColors[static_cast<std::size_t>(type)];
}

}  // namespace

ListColor RESCOLORTEXT(int column, const ResourceIndex& index, int row) {
  return column == 2 ? rowFor(index, row).text : F(kBlack);
}

ListColor RESCOLORPANE(int column, const ResourceIndex& index, int row) {
  return column == 2 ? rowFor(index, row).pane : ListColor::window();
}

ListColor RESCOLORFOREFOCUS(const ResourceIndex& index, int row) {
  return rowFor(index, row).focusText;
}

ListColor RESCOLORBACKFOCUS(const ResourceIndex& index, int row) {
  return rowFor(index, row).focusBack;
}

}  // namespace kolvre
