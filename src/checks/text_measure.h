// How much room a control's text takes, as the preview draws it, and the base units of a
// dialog's font. The checks are plain C++; the measuring is the font system's, behind this
// interface (the editor's and the batch tool's is on Qt's font metrics, with the dialog's own
// font). Checks run without one skip the rules that measure, and read dialogs in
// kFixedBaseUnits.
#pragma once

#include <string_view>

#include "dialogs/dialog_font.h"
#include "dialogs/dialog_model.h"

namespace kolvre {

struct TextSize {
  int width = 0;
  int height = 0;
};

class FontMeasure : public DialogFontMetrics {
 public:
  virtual ~FontMeasure() = default;
  // The pixels `text` takes in `dialog`'s font: on one line when `wrapWidth` is 0, else broken
  // into lines no wider than `wrapWidth` (at blanks where it can, anywhere else). `text` is
  // UTF-8 as the control shows it: escapes decoded, mnemonic marks taken out.
  virtual TextSize textSize(const DialogModel& dialog, std::string_view text,
                            int wrapWidth) const = 0;
  // The pixels of a control's width that are not its text's: a push button's margins, a check
  // box's or radio button's mark and the gap after it; 0 for the others.
  virtual int chromeWidth(ControlClass live) const = 0;
  // The base units of a dialog font; a measure that knows no fonts reads dialogs in
  // kFixedBaseUnits.
  BaseUnits baseUnits(const DialogFont&) const override { return kFixedBaseUnits; }
};

}  // namespace kolvre
