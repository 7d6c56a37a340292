// Control ids as the designer shows, counts and renumbers them. An id written as a symbol or an
// expression is the user's: it is shown as written, and renumbering and the next free id leave
// it alone.
#pragma once

#include <string>
#include <vector>

#include "dialogs/dialog_model.h"

namespace kolvre {

// True when the control's id is written as a symbol or an expression.
bool hasSymbolicId(const DialogControl& control);

// The id as shown: as written when it is a symbol, else the number.
std::string idText(const DialogControl& control);

// The id a new control gets: one more than the largest numeric id, and at least 101.
int nextId(const std::vector<DialogControl>& controls);

// The selected controls with a numeric id (-1 excepted) count on from the first of them, in
// list order.
void renumberSelected(std::vector<DialogControl>& controls);

// The controls whose numeric id lies in [first, last] are numbered first, first + 1, ... in
// list order.
void renumberRange(std::vector<DialogControl>& controls, int first, int last);

}  // namespace kolvre
