// The text measure of the checks on Qt's font metrics: a dialog's texts measured in the font the
// preview shows them in, with the room the preview's controls keep for their marks and margins;
// a dialog's base units from its font (qt_dialog_fonts.h).
#pragma once

#include <QFont>

#include "checks/text_measure.h"

namespace kolvre {

// The dialog's font as Windows draws it: its FONT statement's face or the one Windows puts in
// its place, at its size in pixels (qt_dialog_fonts.h).
QFont dialogFont(const DialogModel& dialog);

// Needs a QApplication (the style gives the controls' marks and margins).
class QtFontMeasure : public FontMeasure {
 public:
  TextSize textSize(const DialogModel& dialog, std::string_view text, int wrapWidth) const override;
  int chromeWidth(ControlClass live) const override;
  BaseUnits baseUnits(const DialogFont& font) const override;
};

}  // namespace kolvre
