#include "app/show_resource.h"

#include <array>

#include "app/dialog_designer.h"
#include "app/dialog_panel.h"
#include "app/image_panels.h"
#include "app/main_window.h"
#include "document/resource_commands.h"

namespace kolvre {

namespace {

QWidget* showEmpty(const PanelContext& c) {
  return BUILDEMPTY(c.window);
}

bool editAsText(const PanelContext& c) {
  return EDITRIS(c.ui, c.doc, c.position);
}

// One row per type, in the order of the type table. The dialog and image panels take their
// rows' places when they exist.
constexpr std::array<PanelRow, kResTypes.size()> kPanelRows{{
    {ResType::Manifest, showEmpty, editAsText},
    {ResType::VersionInfo, showEmpty, editAsText},
    {ResType::Bitmap, BUILDBMP, editImage},
    {ResType::Cursor, BUILDCURSOR, editImage},
    {ResType::Dialog, BUILDDLG, editDialog},
    {ResType::Icon, BUILDICON, editImage},
}};

static_assert([] {
  for (std::size_t i = 0; i < kPanelRows.size(); ++i)
    if (kPanelRows[i].type != kResTypes[i].type) return false;
  return true;
}());

}  // namespace

const PanelRow& panelRow(ResType type) {
  return kPanelRows[static_cast<std::size_t>(type)];
}

QWidget* BUILDEMPTY(MainWindow& window) {
  auto* panel = new QWidget(window.centralWidget());
  panel->setObjectName(QStringLiteral("emptyPanel"));
  panel->setGeometry(ResourceListView::kWidth, 0, 0, 0);
  panel->show();
  panel->setEnabled(false);
  window.setDefaultStatusText({});
  return panel;
}

}  // namespace kolvre
