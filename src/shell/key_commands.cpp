#include "shell/key_commands.h"

#include "base/text.h"

#include <array>

namespace kolvre {

namespace {

using Mods = KeyModifierRule;
using When = KeyCondition;
using Scope = KeyScope;

// One row per key, modifiers and place. Letters and digits are their capital's code.
constexpr std::array<KeyBinding, 36> kKeyTable{{
    {kVkEscape, Mods::Any, When::EscSetting, KeyAction::CloseWindow, Scope::Everywhere},
    {kVkF7, Mods::Any, When::Always, KeyAction::Compile, Scope::Everywhere},
    {kVkF8, Mods::Any, When::Always, KeyAction::Check, Scope::Everywhere},
    {kVkF9, Mods::Any, When::Always, KeyAction::Save, Scope::Everywhere},
    {'F', Mods::Ctrl, When::Always, KeyAction::Find, Scope::Everywhere},
    {kVkF3, Mods::None, When::Always, KeyAction::FindNext, Scope::Everywhere},
    {kVkF3, Mods::Shift, When::Always, KeyAction::FindPrevious, Scope::Everywhere},
    {'2', Mods::Ctrl, When::Always, KeyAction::New24, Scope::Everywhere},
    {'B', Mods::Ctrl, When::Always, KeyAction::NewBitmap, Scope::Everywhere},
    {'D', Mods::Ctrl, When::Always, KeyAction::NewDialog, Scope::Everywhere},
    {'I', Mods::Ctrl, When::Always, KeyAction::NewIcon, Scope::Everywhere},
    {'U', Mods::Ctrl, When::Always, KeyAction::NewCursor, Scope::Everywhere},
    {'O', Mods::Ctrl, When::Dialog, KeyAction::TabOrder, Scope::Everywhere},
    {'P', Mods::Ctrl, When::Dialog, KeyAction::DialogProperties, Scope::Everywhere},
    {'R', Mods::Ctrl, When::Current, KeyAction::Rename, Scope::Everywhere},
    {'T', Mods::Ctrl, When::Current, KeyAction::EditAsText, Scope::Everywhere},
    {kVkOemPlus, Mods::Ctrl, When::Always, KeyAction::SecondCopy, Scope::Everywhere},
    {'Y', Mods::Ctrl, When::Always, KeyAction::Redo, Scope::Everywhere},
    {'Z', Mods::CtrlShift, When::Always, KeyAction::Redo, Scope::Everywhere},
    {'Z', Mods::Ctrl, When::Always, KeyAction::Undo, Scope::Everywhere},
    // The list: the current resource, and the script.
    {kVkEnter, Mods::Any, When::Current, KeyAction::EditCurrent, Scope::List},
    {kVkDelete, Mods::Any, When::Current, KeyAction::Delete, Scope::List},
    {kVkInsert, Mods::Ctrl, When::Current, KeyAction::Copy, Scope::List},
    {'C', Mods::Ctrl, When::Current, KeyAction::Copy, Scope::List},
    {kVkInsert, Mods::Shift, When::Always, KeyAction::Paste, Scope::List},
    {'V', Mods::Ctrl, When::Always, KeyAction::Paste, Scope::List},
    {kVkF2, Mods::Any, When::Always, KeyAction::Open, Scope::List},
    // A panel's table: its rows.
    {kVkF2, Mods::Any, When::Always, KeyAction::EditCell, Scope::Panel},
    {kVkInsert, Mods::None, When::Always, KeyAction::AddRow, Scope::Panel},
    {kVkDelete, Mods::None, When::Always, KeyAction::DeleteRow, Scope::Panel},
    {kVkInsert, Mods::Shift, When::Always, KeyAction::AddSeparator, Scope::Panel},
    {kVkInsert, Mods::Ctrl, When::Always, KeyAction::AddGroup, Scope::Panel},
    {kVkUp, Mods::Alt, When::Always, KeyAction::MoveRowUp, Scope::Panel},
    {kVkDown, Mods::Alt, When::Always, KeyAction::MoveRowDown, Scope::Panel},
    {kVkLeft, Mods::Alt, When::Always, KeyAction::MoveRowOut, Scope::Panel},
    {kVkRight, Mods::Alt, When::Always, KeyAction::MoveRowIn, Scope::Panel},
}};

// The names of the keys that are not a letter or a digit, as menus show them.
constexpr std::pair<int, std::string_view> kKeyNames[] = {
    {kVkEnter, "Invio"},   {kVkEscape, "ESC"},   {kVkInsert, "INS"}, {kVkDelete, "CANC"},
    {kVkF2, "F2"},         {kVkF3, "F3"},        {kVkF7, "F7"},      {kVkF8, "F8"},
    {kVkF9, "F9"},         {kVkOemPlus, "+"},    {kVkUp, "SU"},      {kVkDown, "GIÙ"},
    {kVkLeft, "SINISTRA"}, {kVkRight, "DESTRA"},
};

bool isLetterOrDigit(int key) {
  return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
}

std::string labelOf(const KeyBinding& row) {
  std::string name;
  if (isLetterOrDigit(row.key)) {
    name = std::string(1, static_cast<char>(row.key));
  } else {
    for (const auto& [key, text] : kKeyNames)
      if (key == row.key) name = text;
  }
  switch (row.modifiers) {
    case Mods::Ctrl:
      return "CTRL-" + name;
    case Mods::CtrlShift:
      return "CTRL-SHIFT-" + name;
    case Mods::Shift:
      return "SHIFT-" + name;
    case Mods::Alt:
      return "ALT-" + name;
    default:
      return name;
  }
}

bool takes(Mods rule, const KeyState& s) {
  switch (rule) {
    case Mods::Any:
      return true;
    case Mods::None:
      return !s.ctrl && !s.shift && !s.alt;
    case Mods::Ctrl:
      return s.ctrl && !s.shift;
    case Mods::Shift:
      return s.shift && !s.ctrl;
    case Mods::CtrlShift:
      return s.ctrl && s.shift;
    case Mods::Alt:
      return s.alt && !s.ctrl && !s.shift;
  }
  return false;
}

bool holds(When condition, const KeyState& s) {
  switch (condition) {
    case When::Always:
      return true;
    case When::Current:
      return s.current != nullptr;
    case When::Dialog:
      return s.current && s.current->type == ResourceType::Dialog;
    case When::EscSetting:
      return s.escEnabled;
  }
  return false;
}

bool actsIn(Scope scope, KeyContext context) {
  switch (scope) {
    case Scope::Everywhere:
      return true;
    case Scope::List:
      return context == KeyContext::List;
    case Scope::Panel:
      return context == KeyContext::Panel;
  }
  return false;
}

bool nameBeginsWith(const std::string& name, const std::string& prefix) {
  if (name.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (upperByte(name[i]) != prefix[i]) return false;
  return true;
}

}  // namespace

std::span<const KeyBinding> keyBindings() {
  return kKeyTable;
}

std::string keyLabel(KeyAction action) {
  const KeyBinding* found = nullptr;
  for (const KeyBinding& row : kKeyTable) {
    if (row.action != action) continue;
    if (isLetterOrDigit(row.key)) return labelOf(row);
    if (!found) found = &row;
  }
  return found ? labelOf(*found) : std::string();
}

KeyAction keyAction(int virtualKey, const KeyState& state) {
  for (const KeyBinding& row : kKeyTable)
    if (row.key == virtualKey && takes(row.modifiers, state) && actsIn(row.scope, state.context))
      return holds(row.condition, state) ? row.action : KeyAction::None;
  return KeyAction::None;
}

bool typeAheadSearch(KeySearchState& state, const ResourceIndex& index, int& row, int character,
                     std::optional<std::int64_t> at) {
  if (row != state.searchRow) state.buffer.clear();
  if (at && state.lastKeyAt && *at - *state.lastKeyAt > kSearchPauseMs) state.buffer.clear();
  if (at) state.lastKeyAt = at;
  if (character != 8 && (character < 32 || character > 126)) return false;
  const int remembered = row;
  if (character == 8) {
    if (!state.buffer.empty()) state.buffer.pop_back();
  } else {
    state.buffer += upperByte(static_cast<char>(character));
  }
  int found = -1;
  for (std::size_t i = 0; i < index.size() && found < 0; ++i)
    if (nameBeginsWith(index[i].name, state.buffer)) found = static_cast<int>(i);
  if (found >= 0) {
    row = found;
  } else {
    if (!state.buffer.empty()) state.buffer.pop_back();
    row = remembered;
  }
  state.searchRow = row;
  return row != remembered;
}

}  // namespace kolvre
