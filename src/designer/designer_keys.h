// The designer's keys: virtual-key codes, the modifiers read at the moment of the key, and the
// key table that turns a key into a designer action. The user interface maps its own key
// numbers to these codes (letters are their capital's code, "P" = 80).
#pragma once

#include <array>
#include <cstdint>

#include "dialogs/dialog_model.h"

namespace kolvre {

// The virtual-key codes the designer answers.
enum class DesignerKey : int {
  Shift = 16,
  Control = 17,
  Escape = 27,
  PageUp = 33,
  PageDown = 34,
  End = 35,
  Home = 36,
  Left = 37,
  Up = 38,
  Right = 39,
  Down = 40,
  Insert = 45,
  Delete = 46,
  P = 80,
  Y = 89,
  Z = 90,
  F9 = 120,
};

constexpr int vk(DesignerKey key) {
  return static_cast<int>(key);
}

// Shift and Ctrl as held when the key or the mouse button went down.
struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
};

enum class DesignerAction : std::uint8_t {
  Close,       // close the designer; the dialog is then compared with the script
  Delete,      // delete the current control or the selection
  Copy,        // copy them as control lines
  Paste,       // paste control lines at the client area's top-left corner
  Store,       // write the dialog back into the script and save the file
  Properties,  // the properties form of the current control
  Undo,
  Redo,
  Nudge,  // the nudge keys move, every other key does nothing
};

// What a row asks of the modifiers.
enum class KeyNeed : std::uint8_t { Any, Ctrl, Shift, CtrlShift };

struct DesignerKeyRow {
  int key;  // 0: any key
  KeyNeed need;
  DesignerAction action;
};

// The key table; the first row that matches acts. Undo and redo stand just before the last row:
// without them those keys would reach the nudge, which ignores them.
inline constexpr std::array<DesignerKeyRow, 10> kDesignerKeys{{
    {vk(DesignerKey::Escape), KeyNeed::Any, DesignerAction::Close},
    {vk(DesignerKey::Delete), KeyNeed::Any, DesignerAction::Delete},
    {vk(DesignerKey::Insert), KeyNeed::Ctrl, DesignerAction::Copy},
    {vk(DesignerKey::Insert), KeyNeed::Shift, DesignerAction::Paste},
    {vk(DesignerKey::F9), KeyNeed::Any, DesignerAction::Store},
    {vk(DesignerKey::P), KeyNeed::Ctrl, DesignerAction::Properties},
    {vk(DesignerKey::Z), KeyNeed::CtrlShift, DesignerAction::Redo},
    {vk(DesignerKey::Z), KeyNeed::Ctrl, DesignerAction::Undo},
    {vk(DesignerKey::Y), KeyNeed::Ctrl, DesignerAction::Redo},
    {0, KeyNeed::Any, DesignerAction::Nudge},
}};

DesignerAction designerKeyAction(int virtualKey, KeyModifiers modifiers);

// Whether a key pressed while a control has the focus goes to the designer: an Edit keeps every
// key but Delete for its text; every other control (a MultiLineEdit too) hands its keys on.
constexpr bool keyReachesDesigner(ControlClass live, int virtualKey) {
  return live != ControlClass::Edit || virtualKey == vk(DesignerKey::Delete);
}

}  // namespace kolvre
