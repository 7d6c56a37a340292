#include "designer/designer_keys.h"

namespace kolvre {

namespace {

bool meets(KeyNeed need, KeyModifiers m) {
  switch (need) {
    case KeyNeed::Any:
      return true;
    case KeyNeed::Ctrl:
      return m.ctrl;
    case KeyNeed::Shift:
      return m.shift;
    case KeyNeed::CtrlShift:
      return m.ctrl && m.shift;
  }
  return false;
}

}  // namespace

DesignerAction designerKeyAction(int virtualKey, KeyModifiers modifiers) {
  for (const DesignerKeyRow& row : kDesignerKeys)
    if ((row.key == 0 || row.key == virtualKey) && meets(row.need, modifiers)) return row.action;
  return DesignerAction::Nudge;
}

}  // namespace kolvre
