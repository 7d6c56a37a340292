#include "dialogs/dialog_font.h"

#include "dialogs/dialog_model.h"

namespace kolvre {

DialogFont dialogFontOf(const DialogModel& dialog) {
  DialogFont font;
  if (!dialog.fontStatement) return font;
  font.named = true;
  font.face = dialog.faceName;
  font.points = dialog.fontSize;
  font.weight = dialog.fontWeight;
  font.italic = dialog.fontItalic;
  return font;
}

BaseUnits baseUnitsOf(const DialogFont& font, const DialogFontMetrics* metrics) {
  if (!metrics) return kFixedBaseUnits;
  const BaseUnits base = metrics->baseUnits(font);
  return base.x > 0 && base.y > 0 ? base : kFixedBaseUnits;
}

}  // namespace kolvre
