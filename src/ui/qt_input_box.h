// The one-line input box of askText: a prompt, an edit field and the buttons Conferma and Annulla.
#pragma once

#include <QString>

class QWidget;

namespace kolvre {

// Shows the input box titled `title` with `prompt` above a field holding `value` without the
// white space around it, which accepts at most `maxLength` characters. Owned by `owner` or else the
// active window; centred on its screen. True with the field's text in `value` on Conferma (or
// Enter); false with `value` untouched on Annulla, Esc or the close box.
bool showInputBox(const QString& title, const QString& prompt, QString& value, int maxLength,
                  QWidget* owner = nullptr);

}  // namespace kolvre
