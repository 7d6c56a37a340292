// The designer's context menus as data: on a control (properties, autosize, widen, renumber,
// delete, copy) and on the dialog's background (renumber, every new control kind, paste), both
// ending in undo and redo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_model.h"

namespace kolvre {

enum class MenuCommand : std::uint8_t {
  None,  // a separator
  Properties,
  AutoSize,
  Widen,
  RenumberSelected,
  RenumberRange,
  Delete,
  Copy,
  NewControl,
  Paste,
  Undo,
  Redo,
};

struct MenuItem {
  std::string label;  // the text after a tab is the key shown beside it
  MenuCommand command = MenuCommand::None;
  bool enabled = true;
  std::string_view kind;  // NewControl: the kind's name
  bool separator() const { return command == MenuCommand::None; }
};

struct DesignerMenu {
  std::vector<MenuItem> items;
  std::optional<std::size_t> control;  // the clicked control
  PixelPoint at;                       // the snapped point: where the menu opens, new controls go
  int rangeFirst = 0;                  // RenumberRange: the range of the entry
  int rangeLast = 0;
};

// What the menu depends on besides the clicked control.
struct MenuContext {
  bool hasCurrent = false;   // a control is current
  bool anySelected = false;  // some control is selected
  bool canUndo = false;
  bool canRedo = false;
};

// The items of the menu on `menu.control` (nothing: the background); fills in the renumbering
// range of a control with a numeric id.
void fillContextMenu(DesignerMenu& menu, const DialogModel& dialog, const MenuContext& context);

}  // namespace kolvre
