#include "app/show_resource.h"

#include "app/main_window.h"

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

QWidget* SHOWRES(MainWindow& window, Document&, QtUserInterface&, const IndexEntry&, bool edit) {
  if (edit) return nullptr;
  return BUILDEMPTY(window);
}

void runResourceCommand(MainWindow&, Document&, QtUserInterface&, KeyAction) {}

}  // namespace kolvre
