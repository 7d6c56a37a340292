#include "shell/resource_colors.h"

#include <array>
#include <optional>

namespace kolvre {

namespace {

struct ColorRow {
  ResourceType type;
  ListColor text;
  ListColor pane;
  ListColor focusText;
  ListColor focusBack;
};

constexpr ListColor F(std::uint32_t v) {
  return ListColor::fixed(v);
}

constexpr std::array<ColorRow, 6> kColors{{
    {ResourceType::Manifest, F(kBlack), F(kLightGrey), F(kBlack), F(kLightGrey)},
    {ResourceType::VersionInfo, F(kBlack), F(kLightGrey), F(kBlack), F(kLightGrey)},
    {ResourceType::Bitmap, F(kWhite), F(kRed), F(kWhite), F(kRed)},
    {ResourceType::Cursor, F(kBlack), F(kYellow), F(kBlack), F(kYellow)},
    {ResourceType::Dialog, F(kBlack), ListColor::window(), F(kWhite), ListColor::highlight()},
    {ResourceType::Icon, F(kBlack), F(kGreen), F(kBlack), F(kGreen)},
}};

// The row for an entry; the dialog row stands for an empty index.
const ColorRow& rowFor(const ResourceIndex& index, int row) {
  ResourceType type = ResourceType::Dialog;
  if (row >= 0 && static_cast<std::size_t>(row) < index.size()) type = index[row].type;
  return kColors[static_cast<std::size_t>(type)];
}

}  // namespace

ListColor cellTextColor(int column, const ResourceIndex& index, int row) {
  return column == kTypeColumn ? rowFor(index, row).text : F(kBlack);
}

ListColor cellBackgroundColor(int column, const ResourceIndex& index, int row) {
  return column == kTypeColumn ? rowFor(index, row).pane : ListColor::window();
}

ListColor focusTextColor(const ResourceIndex& index, int row) {
  return rowFor(index, row).focusText;
}

ListColor focusBackgroundColor(const ResourceIndex& index, int row) {
  return rowFor(index, row).focusBack;
}

}  // namespace kolvre
