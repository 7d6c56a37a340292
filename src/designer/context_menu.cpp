#include "designer/context_menu.h"

#include <utility>

#include "designer/control_ids.h"
#include "designer/control_kinds.h"

namespace kolvre {

namespace {

class MenuBuilder {
 public:
  explicit MenuBuilder(std::vector<MenuItem>& items) : items_(items) {}
  void add(std::string label, MenuCommand command, bool separatorAfter) {
    items_.push_back({std::move(label), command, true, {}});
    if (separatorAfter) separator();
  }
  void separator() { items_.push_back({}); }

 private:
  std::vector<MenuItem>& items_;
};

void controlItems(DesignerMenu& menu, const DialogControl& c, const MenuContext& context) {
  MenuBuilder add(menu.items);
  add.add("Proprietà\tCTRL-P", MenuCommand::Properties, true);
  if (context.hasCurrent && c.live == ControlClass::StaticText && c.rect.width > 2 &&
      c.rect.height > 2)
    add.add("Dimensione automatica", MenuCommand::AutoSize, true);
  if (context.hasCurrent) add.add("Estendi orizzontalmente", MenuCommand::Widen, true);
  if (context.anySelected) add.add("Rinumera selezionati", MenuCommand::RenumberSelected, true);
  if (!context.anySelected && c.id != -1 && !hasSymbolicId(c)) {
    // The hundred the id lies in, from its 1 to its 99.
    const int n = c.id;
    menu.rangeFirst = n - n % 100 + 1;
    menu.rangeLast = n - n % 100 + 99;
    add.add("Rinumera da Id " + std::to_string(menu.rangeFirst) + " a Id " +
                std::to_string(menu.rangeLast),
            MenuCommand::RenumberRange, true);
  }
  add.add("Elimina\tCANC", MenuCommand::Delete, true);
  add.add("Copia\tCTRL-INS", MenuCommand::Copy, false);
}

void backgroundItems(DesignerMenu& menu, const MenuContext& context) {
  MenuBuilder add(menu.items);
  if (context.anySelected) add.add("Rinumera selezionati", MenuCommand::RenumberSelected, true);
  for (const NewControlKind& kind : kNewControlKinds) {
    menu.items.push_back({newControlLabel(kind), MenuCommand::NewControl, true, kind.name});
  }
  add.separator();
  add.add("Incolla\tMAIUSC-INS", MenuCommand::Paste, false);
}

}  // namespace

void fillContextMenu(DesignerMenu& menu, const DialogModel& dialog, const MenuContext& context) {
  if (menu.control && *menu.control < dialog.controls.size())
    controlItems(menu, dialog.controls[*menu.control], context);
  else
    backgroundItems(menu, context);
  menu.items.push_back({});
  menu.items.push_back({"Annulla\tCTRL-Z", MenuCommand::Undo, context.canUndo, {}});
  menu.items.push_back({"Ripristina\tCTRL-Y", MenuCommand::Redo, context.canRedo, {}});
}

}  // namespace kolvre
