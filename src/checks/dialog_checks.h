// The checks of one dialog: controls outside the client area, overlapping controls, one ID or
// one & key on two controls, texts that do not fit, style names and symbols the script does
// not define. The rules are arithmetic on the dialog model; only the texts' sizes come from
// the text measure.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "checks/check_context.h"
#include "checks/findings.h"
#include "dialogs/dialog_model.h"
#include "syntax/string_literal.h"

namespace kolvre {

// A dialog of the script as the checks read it (as the preview reads it).
struct DialogUnderCheck {
  std::size_t entry = 0;  // its index entry
  DialogModel dialog;
  std::vector<std::string> notices;  // what the reading noticed
  std::vector<std::string> undefinedSymbols;
  ScriptCharset charset;
  // Per control: its ID names a symbol no definition gives (it reads as 0), so it cannot be
  // compared.
  std::vector<bool> unknownId;
};

// Every dialog of the script that reads; a dialog that does not read is left out (the
// preview says why).
std::vector<DialogUnderCheck> readCheckedDialogs(const CheckContext& context);

// The findings of one dialog, framed by `frame` (its resource, language and offset).
std::vector<Finding> checkDialog(const DialogUnderCheck& checked, const FontMeasure* measure,
                                 const Finding& frame);

// A control as a message names it: its ID as written, with its text where it shows one.
std::string namedControl(const DialogControl& control, const ScriptCharset& charset);

// The control's ID as written (its symbol or expression, else its number).
std::string controlIdText(const DialogControl& control);

// How a control's text fits it: the pixels it needs and those the control has, across (or,
// for a text broken into lines, down).
struct TextFit {
  bool fits = true;
  int needed = 0;
  int available = 0;
  bool height = false;
};
std::optional<TextFit> measureText(const DialogControl& control, const DialogModel& dialog,
                                   const ScriptCharset& charset, const FontMeasure* measure);

// Whether the control's text fits it as the preview shows it; nothing for a control whose
// text is not measured (no text, a picture, an owner-drawn or hidden control) or without a
// measure.
std::optional<bool> textFits(const DialogControl& control, const DialogModel& dialog,
                             const ScriptCharset& charset, const FontMeasure* measure);

// The rectangle a control takes on the client area, in dialog units: a drop-down combo box's
// closed box, not the list it drops down.
DialogUnitRect occupiedRect(const DialogControl& control);

// The client area, in dialog units.
DialogUnitRect clientRect(const DialogModel& dialog);

// True for the controls the layout rules look at: those the compiler makes visible.
bool isShown(const DialogControl& control);

}  // namespace kolvre
