#include "designer/control_kinds.h"

#include "dialogs/dialog_units.h"

namespace kolvre {

const NewControlKind* newControlKind(std::string_view name) {
  for (const NewControlKind& kind : kNewControlKinds)
    if (kind.name == name) return &kind;
  return nullptr;
}

std::string newControlLabel(const NewControlKind& kind) {
  std::string label = "Nuovo ";
  label += kind.name;
  label += " (";
  label += kind.windowsClass;
  label += ')';
  return label;
}

DialogControl makeNewControl(const NewControlKind& kind, PixelPoint at, int id, BaseUnits base) {
  DialogControl control;
  control.live = kind.live;
  control.caption = std::string(kind.caption);
  control.id = kind.noId ? -1 : id;
  control.liveStyle = kind.style;
  control.rect = {at.x, at.y, kind.width, kind.height};
  // A combo box is written with the height of its list, in dialog units.
  if (kind.live == ControlClass::ComboBox) control.comboHeight = pixelsToDuY(kind.height, base);
  return control;
}

}  // namespace kolvre
