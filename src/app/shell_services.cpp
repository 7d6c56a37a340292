#include "app/shell_services.h"

#include <QMessageBox>

#include "app/main_window.h"
#include "ui/messages.h"

namespace kolvre {

void reportFailure(QtUserInterface& ui, const Document*, const ErrorRecord& record) {
  inform(ui, stopMessage(record).value_or(record.description.value_or("?")));
}

bool escClosesWindow(UserInterface& ui) {
  return ui.readSetting("Parametri", "Esc", "No").starts_with("S") ||
         ui.readSetting("Parametri", "Kolv", "No").starts_with("S");
}

void placementChanged(MainWindow&, UserInterface&, int) {}

void INFOS(QWidget* parent, const char* name, const char* version) {
  QMessageBox::about(parent, {}, QString::fromUtf8(name) + "\nVersione: " + version);
}

}  // namespace kolvre
