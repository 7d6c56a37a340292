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
#include "syntax/symbols.h"

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

// A body statement as the syntax tree reads it (dialog_reader.cpp): its keyword and its values
// between their commas, each where it stands in the statement's lines as written.
struct StatementFields {
  std::string_view raw;  // the statement's lines as written, CR LF between them
  std::string_view keyword;
  std::size_t keywordAt = 0;  // where the keyword begins in `raw`
  struct Value {
    FieldSpan span;           // its tokens in `raw`; an empty value stands before the next comma
    std::string code;         // its tokens, comments left out (codeText)
    bool quoted = false;      // one string token
    std::size_t commaAt = 0;  // the comma before it in `raw` (the first value: the keyword's end)
  };
  std::vector<Value> values;
  bool cutShort = false;  // it ends with "," or "|" where its body or block ends
};

// A body statement: a control, or why not. The control keeps the statement as written
// (KeptStatement), its lines and comments included. With the script's symbols (`symbols`), ids,
// numbers and styles written with its names read as their values, the names lacking noted in
// `symbols`. Its rectangle is converted to pixels with `base`, its dialog's base units.
ControlReading readBodyStatement(const StatementFields& statement, BaseUnits base,
                                 SymbolUse* symbols = nullptr);

// The statement with the indentation before its keyword replaced by `indentation`: its text
// and every place in it.
void reindent(KeptStatement& kept, std::string_view indentation);

// A control's class as the script names it: the class of its short statement, or the class
// field of its CONTROL statement without quotes; a class a short statement stands for (BUTTON,
// STATIC, EDIT, COMBOBOX, LISTBOX, SCROLLBAR) in capitals, any other as written.
std::string scriptClassName(const DialogControl& control);

// A control's x, y, cx, cy in dialog units as its statement gives them (an ICON statement
// without a size gives 0, 0).
DialogUnitRect unitsAsWritten(const DialogControl& control, BaseUnits base);

// The notice for a control class the class table does not hold (kInvalidStyleNotice, styles.h,
// is the other one).
std::string unsupportedControlNotice(std::string_view scriptClass);

}  // namespace kolvre
