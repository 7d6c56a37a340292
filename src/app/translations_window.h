// "Confronta traduzioni": the previews of one dialog in each of its languages side by side, the
// first language first, with what the checks find in each outlined in red on it and listed
// under it.
#pragma once

#include <cstddef>

class QDialog;
class QWidget;

namespace kolvre {

class Document;

// True when dialog entry `position` of `doc`'s index is held in more than one language.
bool hasTranslations(const Document& doc, std::size_t position);

// The window that compares dialog entry `position`'s languages, made but not shown; null when
// the dialog has no translation. Esc closes it. The document must outlive it.
QDialog* translationsWindow(const Document& doc, std::size_t position, QWidget* parent);

}  // namespace kolvre
