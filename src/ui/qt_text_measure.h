// The text measure of the checks on Qt's font metrics: a dialog's texts measured in the font the
// preview shows them in, at the preview's scale, with the room the preview's controls keep for
// their marks and margins.
#pragma once

#include <QFont>

#include "checks/text_measure.h"

namespace kolvre {

// The dialog's font: the FONT statement's face where the system has it, else the platform's
// sans serif face, as the system dialog font is one; never a serif face. Always the system
// dialog font's size: the dialog units stand for that font, whatever the FONT statement says,
// so a text keeps its room in its control.
QFont dialogFont(const DialogModel& dialog);

// Needs a QApplication (the style gives the controls' marks and margins).
class QtFontMeasure : public FontMeasure {
 public:
  TextSize textSize(const DialogModel& dialog, std::string_view text, int wrapWidth) const override;
  int chromeWidth(ControlClass live) const override;
};

}  // namespace kolvre
