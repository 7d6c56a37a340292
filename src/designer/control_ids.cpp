#include "designer/control_ids.h"

#include <algorithm>
#include <optional>

namespace kolvre {

bool hasSymbolicId(const DialogControl& control) {
  return control.id && control.id->value == control.Cargo;
}

std::string idText(const DialogControl& control) {
  if (hasSymbolicId(control)) return control.id->text;
  return std::to_string(control.Cargo);
}

int nextId(const std::vector<DialogControl>& controls) {
  int largest = 100;
  for (const DialogControl& c : controls)
    if (!hasSymbolicId(c)) largest = std::max(largest, c.Cargo);
  return largest + 1;
}

void renumberSelected(std::vector<DialogControl>& controls) {
  std::optional<int> next;
  for (DialogControl& c : controls) {
    if (!c.lSel || c.Cargo == -1 || hasSymbolicId(c)) continue;
    if (next) c.Cargo = *next;
    next = c.Cargo + 1;
  }
}

void renumberRange(std::vector<DialogControl>& controls, int first, int last) {
  int next = first;
  for (DialogControl& c : controls) {
    if (c.Cargo == -1 || hasSymbolicId(c) || c.Cargo < first || c.Cargo > last) continue;
    c.Cargo = next++;
  }
}

}  // namespace kolvre
