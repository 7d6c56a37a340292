// Dialog fonts on Qt: the faces of Windows' own fonts loaded from the fonts folder of Debian's
// fonts-wine, a dialog's FONT statement resolved to one of them as Windows resolves it
// (dialog_font.h, font_substitutes.h), its base units measured from the font's tables, and the
// QFont the preview draws it in.
#pragma once

#include <QFont>
#include <QString>

#include "dialogs/dialog_font.h"

namespace kolvre {

// Where the dialog faces are looked for: $KOLVRE_DIALOG_FONTS, else the folders the Wine packages
// put them in.
QString dialogFontFolder();

// Whether the dialog faces are loaded (the first call loads them); without them dialogs are
// drawn and measured in the platform's sans serif face.
bool dialogFacesLoaded();

// The face Windows draws `font` in, among the loaded faces ("" when none is loaded).
QString resolvedDialogFace(const DialogFont& font);

// The base units of `font` as Windows computes them. Needs a QGuiApplication.
BaseUnits dialogBaseUnits(const DialogFont& font);

// The QFont to draw `font`'s texts in, at its size in pixels.
QFont dialogQFont(const DialogFont& font);

// dialogBaseUnits as DialogFontMetrics, for the readers.
class QtDialogFontMetrics : public DialogFontMetrics {
 public:
  BaseUnits baseUnits(const DialogFont& font) const override { return dialogBaseUnits(font); }
};

}  // namespace kolvre
