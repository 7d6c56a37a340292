// Copying controls as CONTROL lines and reading them back for a paste, without the clipboard:
// the designer's commands hand the text over through the user interface.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_model.h"

namespace kolvre {

// The control line of `current`, or without a current control those of the selected controls,
// one a line (CR LF between them); `base`: the base units of their dialog.
std::string copiedText(const std::vector<DialogControl>& controls,
                       std::optional<std::size_t> current, BaseUnits base);

// The controls of a pasted text and the messages the reading gave.
struct PastedControls {
  std::vector<DialogControl> controls;
  std::vector<std::string> notices;
};

// Reads the pasted lines (LF or CR LF) as controls placed so that the first stands at `at` (with
// no `at`, where its line puts it) and the others keep their places relative to it, as dialog
// units give them. A line that is no
// control is named in a notice; a blank line is skipped. A pasted control gets the check box's
// and the list box's style additions and, unless its id is a symbol, the id `firstId`, the next
// one and so on (statics and group boxes -1). None of them is selected. `base`: the base units
// of the dialog pasted into.
PastedControls readPastedControls(std::string_view text, std::optional<PixelPoint> at, int firstId,
                                  BaseUnits base);

}  // namespace kolvre
