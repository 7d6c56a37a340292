#include "designer/control_kinds.h"

#include "dialogs/dialog_units.h"

namespace kolvre {

const NewControlKind* newControlKind(std::string_view name) {
  for (const NewControlKind& kind : kNewControlKinds)
    if (kind.name == name) return &kind;
  return nullptr;
}

DialogControl makeNewControl(const NewControlKind& kind, PixelPoint at, int id) {
  DialogControl control;
  control.live = kind.live;
  control.cCaption = std::string(kind.caption);
  control.Cargo = kind.noId ? -1 : id;
  control.nStyle = kind.style;
  control.rect = {at.x, at.y, kind.width, kind.height};
  // A combo box is written with the height of its list, in dialog units.
  if (kind.live == ControlClass::TComboBox2) control.comboHeight = pixelsToDuY(kind.height);
  return control;
}

}  // namespace kolvre
