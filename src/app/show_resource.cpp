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
  return emptyPanel(c.window);
}

bool editAsText(const PanelContext& c) {
  return editResourceAsText(c.ui, c.doc, c.position);
}

// One row per type, in the order of the type table. The dialog and image panels take their
// rows' places when they exist.
constexpr std::array<PanelRow, kResourceTypes.size()> kPanelRows{{
    {ResourceType::Manifest, showEmpty, editAsText},
    {ResourceType::VersionInfo, showEmpty, editAsText},
    {ResourceType::Bitmap, bitmapPanel, editImage},
    {ResourceType::Cursor, cursorPanel, editImage},
    {ResourceType::Dialog, dialogPanel, editDialog},
    {ResourceType::Icon, iconPanel, editImage},
    {ResourceType::Menu, showEmpty, editAsText},
    {ResourceType::MenuEx, showEmpty, editAsText},
    {ResourceType::StringTable, showEmpty, editAsText},
    {ResourceType::Accelerators, showEmpty, editAsText},
    {ResourceType::RcData, showEmpty, editAsText},
    {ResourceType::Html, showEmpty, editAsText},
    {ResourceType::MessageTable, showEmpty, editAsText},
    {ResourceType::TextInclude, showEmpty, editAsText},
    {ResourceType::Toolbar, showEmpty, editAsText},
    {ResourceType::DlgInit, showEmpty, editAsText},
    {ResourceType::Font, showEmpty, editAsText},
    {ResourceType::Other, showEmpty, editAsText},
}};

static_assert([] {
  for (std::size_t i = 0; i < kPanelRows.size(); ++i)
    if (kPanelRows[i].type != kResourceTypes[i].type) return false;
  return true;
}());

}  // namespace

const PanelRow& panelRow(ResourceType type) {
  return kPanelRows[static_cast<std::size_t>(type)];
}

QWidget* emptyPanel(MainWindow& window) {
  auto* panel = new QWidget(window.centralWidget());
  panel->setObjectName(QStringLiteral("emptyPanel"));
  panel->setGeometry(window.panelLeft(), 0, 0, 0);
  panel->show();
  panel->setEnabled(false);
  window.setDefaultStatusText({});
  return panel;
}

}  // namespace kolvre
