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

// One row per type, in the order of the type table.
constexpr std::array<ColorRow, kResourceTypes.size()> kColors{{
    {ResourceType::Manifest, F(kBlack), F(kLightGrey), F(kBlack), F(kLightGrey)},
    {ResourceType::VersionInfo, F(kBlack), F(kLightGrey), F(kBlack), F(kLightGrey)},
    {ResourceType::Bitmap, F(kWhite), F(kRed), F(kWhite), F(kRed)},
    {ResourceType::Cursor, F(kBlack), F(kYellow), F(kBlack), F(kYellow)},
    {ResourceType::Dialog, F(kBlack), ListColor::window(), F(kWhite), ListColor::highlight()},
    {ResourceType::Icon, F(kBlack), F(kGreen), F(kBlack), F(kGreen)},
    {ResourceType::Menu, F(kBlack), F(kLightCyan), F(kBlack), F(kLightCyan)},
    {ResourceType::MenuEx, F(kBlack), F(kLightCyan), F(kBlack), F(kLightCyan)},
    {ResourceType::StringTable, F(kBlack), F(kLightOrange), F(kBlack), F(kLightOrange)},
    {ResourceType::Accelerators, F(kBlack), F(kLightViolet), F(kBlack), F(kLightViolet)},
    {ResourceType::RcData, F(kBlack), F(kPaleBeige), F(kBlack), F(kPaleBeige)},
    {ResourceType::Html, F(kBlack), F(kPaleBeige), F(kBlack), F(kPaleBeige)},
    {ResourceType::MessageTable, F(kBlack), F(kPaleBeige), F(kBlack), F(kPaleBeige)},
    {ResourceType::TextInclude, F(kBlack), F(kPaleBeige), F(kBlack), F(kPaleBeige)},
    {ResourceType::Toolbar, F(kBlack), F(kPaleBeige), F(kBlack), F(kPaleBeige)},
    {ResourceType::DlgInit, F(kBlack), F(kPaleBeige), F(kBlack), F(kPaleBeige)},
    {ResourceType::Font, F(kBlack), F(kPaleBeige), F(kBlack), F(kPaleBeige)},
    {ResourceType::Other, F(kBlack), F(kPaleBeige), F(kBlack), F(kPaleBeige)},
}};
static_assert([] {
  for (std::size_t i = 0; i < kColors.size(); ++i)
    if (kColors[i].type != kResourceTypes[i].type) return false;
  return true;
}());

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
