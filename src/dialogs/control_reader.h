// Reading the control statements of a DIALOG block's body into controls of the dialog model
// (dialog_reader.h reads the rest of the block): CONTROL statements,
//   CONTROL "text", id, class, style, x, y, cx, cy[, ...]
// and the short control statements (LTEXT, PUSHBUTTON, EDITTEXT, ... ICON). Like the rest of
// the dialog's reader it is pure: the notices come back with what was read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_model.h"
#include "dialogs/symbols.h"

namespace kolvre {

// One control statement read: a control, or why not.
struct ControlReading {
  enum class Kind : std::uint8_t {
    Control,      // `control` holds it (a class the class table lacks as a placeholder, noted)
    NotAControl,  // not a control statement in the shapes above: kept as written, no notice
  };
  Kind kind = Kind::NotAControl;
  DialogControl control;
  std::vector<std::string> notices;
};

// A body statement (as written, and as read on one line): a control, or why not. The control
// keeps the statement as written (KeptStatement), its lines and comments included.
// `code` is `raw` with its comments blanked. With the script's symbols (`symbols`), ids, numbers
// and styles written with its names read as their values, the names lacking noted in `symbols`.
ControlReading readBodyStatement(std::string_view raw, std::string_view code, std::string_view text,
                                 SymbolUse* symbols = nullptr);

// One line of control text from outside a block (the designer's paste, lines written by hand
// or by another program): a CONTROL statement or a short statement, read as the body of a
// block reads it, so that a pasted control is one the block will read back.
ControlReading readStatementLine(std::string_view line);

// A control's class as the script names it: the class of its short statement, or the class
// field of its CONTROL statement without quotes; a class a short statement stands for (BUTTON,
// STATIC, EDIT, COMBOBOX, LISTBOX, SCROLLBAR) in capitals, any other as written.
std::string scriptClassName(const DialogControl& control);

// A control's x, y, cx, cy in dialog units as its statement gives them (an ICON statement
// without a size gives 0, 0).
DialogUnitRect unitsAsWritten(const DialogControl& control);

// The notice for a control class the class table does not hold (kInvalidStyleNotice, styles.h,
// is the other one).
std::string unsupportedControlNotice(std::string_view scriptClass);

}  // namespace kolvre
