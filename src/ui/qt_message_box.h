// One message box of a given kind, with the platform look and Italian buttons.
#pragma once

#include <QString>

#include "platform/user_interface.h"

class QWidget;

namespace kolvre {

// Shows `text` (line breaks as "\n", shown as plain text) in a modal box of `kind`, titled
// `title`, owned by `owner` or else by the active window. Gives the code of the button pressed
// (kIdOk, kIdCancel, kIdYes, kIdNo); Esc and the close box answer Cancel, or No where the kind
// has no Cancel, or OK for kind 1.
int showMessageBox(const QString& text, MessageKind kind, const QString& title,
                   QWidget* owner = nullptr);

}  // namespace kolvre
