#include "app/show_resource.h"

#include <array>

#include "app/accelerator_panel.h"
#include "app/data_panel.h"
#include "app/dialog_designer.h"
#include "app/dialog_panel.h"
#include "app/image_panels.h"
#include "app/main_window.h"
#include "app/menu_panel.h"
#include "app/string_table_panel.h"
#include "app/text_panel.h"
#include "app/version_panel.h"
#include "document/resource_commands.h"

namespace kolvre {

namespace {

bool editAsText(const PanelContext& c) {
  return editResourceAsText(c.ui, c.doc, c.position);
}

// One row per type, in the order of the type table.
constexpr std::array<PanelRow, kResourceTypes.size()> kPanelRows{{
    {ResourceType::Manifest, textPanel, editAsText},
    {ResourceType::VersionInfo, versionPanel, editAsText},
    {ResourceType::Bitmap, bitmapPanel, editImage},
    {ResourceType::Cursor, cursorPanel, editImage},
    {ResourceType::Dialog, dialogPanel, editDialog},
    {ResourceType::Icon, iconPanel, editImage},
    {ResourceType::Menu, menuPanel, editAsText},
    {ResourceType::MenuEx, menuPanel, editAsText},
    {ResourceType::StringTable, stringTablePanel, editAsText},
    {ResourceType::Accelerators, acceleratorPanel, editAsText},
    {ResourceType::RcData, dataPanel, editAsText},
    {ResourceType::Html, textPanel, editAsText},
    {ResourceType::MessageTable, dataPanel, editAsText},
    {ResourceType::TextInclude, textPanel, editAsText},
    {ResourceType::Toolbar, dataPanel, editAsText},
    {ResourceType::DlgInit, dataPanel, editAsText},
    {ResourceType::Font, dataPanel, editAsText},
    {ResourceType::Other, dataPanel, editAsText},
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
