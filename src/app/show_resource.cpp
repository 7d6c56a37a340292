#include "app/show_resource.h"

#include "app/main_window.h"
#include "document/resource_commands.h"

namespace kolvre {

QWidget* BUILDEMPTY(MainWindow& window) {
  auto* panel = new QWidget(window.centralWidget());
  panel->setObjectName(QStringLiteral("emptyPanel"));
  panel->setGeometry(ResourceListView::kWidth, 0, 0, 0);
  panel->show();
  panel->setEnabled(false);
  window.setDefaultStatusText({});
  return panel;
}

QWidget* SHOWRES(MainWindow& window, Document& doc, UserInterface& ui, const IndexEntry& entry,
                 bool edit) {
  const bool textOnly = entry.type == ResType::Manifest || entry.type == ResType::VersionInfo;
  if (edit) {
    // Resources without a visual editor of their own open in the external text editor.
    if (textOnly) EDITRIS(ui, doc, *window.list());
    return nullptr;
  }
  // The dialog preview and the image panels plug in here, by type.
  return BUILDEMPTY(window);
}

void runResourceCommand(MainWindow& window, Document& doc, UserInterface& ui, KeyAction action) {
  // The new-resource actions and the kind each one adds.
  static constexpr std::pair<KeyAction, std::string_view> kNewKinds[] = {
      {KeyAction::New24, "24"},         {KeyAction::NewVersionInfo, "VERSIONINFO"},
      {KeyAction::NewBitmap, "BITMAP"}, {KeyAction::NewCursor, "CURSOR"},
      {KeyAction::NewDialog, "DIALOG"}, {KeyAction::NewIcon, "ICON"},
  };
  ResourceListView& list = *window.list();
  for (const auto& [newAction, kind] : kNewKinds)
    if (action == newAction) NUOVARIS(ui, doc, list, kind);
  switch (action) {
    case KeyAction::Rename:
      RINORIS(ui, doc, list);
      break;
    case KeyAction::Delete:
      ELIMRIS(ui, doc, list);
      break;
    case KeyAction::Copy:
      COPIARIS(ui, doc, list);
      break;
    case KeyAction::Paste:
      INCOLLARIS(ui, doc, list);
      break;
    case KeyAction::EditAsText:
      EDITRIS(ui, doc, list);
      break;
    default:
      break;  // tab order and dialog properties belong to the dialog designer
  }
}

}  // namespace kolvre
