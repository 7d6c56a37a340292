// The about box: the program's picture, name and version, and a button to close it.
#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

namespace kolvre {

// Shows the modal about box over `parent` (or the active window): `picture` (a framed empty
// space when null), `name`, "Versione: " + `version`, and the button "&Chiudi".
void showAboutBox(QWidget* parent, const QString& name, const QString& version,
                  const QPixmap& picture = QPixmap());

}  // namespace kolvre
