// Showing the current resource beside the list, as a table with one row per type:
// how the resource is shown, and how it is edited (Enter, double click).
#pragma once

#include <QWidget>
#include <cstddef>

#include "document/document.h"
#include "platform/user_interface.h"

namespace kolvre {

class MainWindow;

// What a panel row works on: the window, the document, the user interface and the entry.
struct PanelContext {
  MainWindow& window;
  Document& doc;
  UserInterface& ui;
  std::size_t position;  // the entry's place in the index
};

struct PanelRow {
  ResourceType type;
  // Builds and returns the panel that shows the resource.
  QWidget* (*show)(const PanelContext&);
  // Edits the resource (a command: it may change the document).
  bool (*edit)(const PanelContext&);
};

// The row of a type.
const PanelRow& panelRow(ResourceType type);

// emptyPanel: the empty panel, a disabled zero-size window at the panel origin (just right of
// the list, below the button bar). Clears the status bar's default text.
QWidget* emptyPanel(MainWindow& window);

}  // namespace kolvre
