#include "designer/control_ids.h"

#include <algorithm>
#include <optional>

namespace kolvre {

bool hasSymbolicId(const DialogControl& control) {
  return control.idAsWritten && control.idAsWritten->value == control.id;
}

std::string idText(const DialogControl& control) {
  if (hasSymbolicId(control)) return control.idAsWritten->text;
  return std::to_string(control.id);
}

int nextId(const std::vector<DialogControl>& controls) {
  int largest = 100;
  for (const DialogControl& c : controls)
    if (!hasSymbolicId(c)) largest = std::max(largest, c.id);
  return largest + 1;
}

void renumberSelected(std::vector<DialogControl>& controls) {
  std::optional<int> next;
  for (DialogControl& c : controls) {
    if (!c.selected || c.id == -1 || hasSymbolicId(c)) continue;
    if (next) c.id = *next;
    next = c.id + 1;
  }
}

void renumberRange(std::vector<DialogControl>& controls, int first, int last) {
  int next = first;
  for (DialogControl& c : controls) {
    if (c.id == -1 || hasSymbolicId(c) || c.id < first || c.id > last) continue;
    c.id = next++;
  }
}

}  // namespace kolvre
