#include "shell/key_commands.h"

#include "base/text.h"

#include <array>

namespace kolvre {

namespace {

enum class Needs : unsigned char {
  Nothing,
  Ctrl,
  CtrlShift,
  Shift,
  CtrlCurrent,
  CtrlDialog,
  Current,
  Esc
};

struct KeyRow {
  int key;
  Needs needs;
  KeyAction action;
};

// Tested in order; the first row whose key and condition hold acts.
constexpr std::array<KeyRow, 25> kKeyTable{{
    {kVkEscape, Needs::Esc, KeyAction::CloseWindow},
    {kVkEnter, Needs::Current, KeyAction::EditCurrent},
    {kVkDelete, Needs::Current, KeyAction::Delete},
    {kVkInsert, Needs::CtrlCurrent, KeyAction::Copy},
    {kVkInsert, Needs::Shift, KeyAction::Paste},
    {kVkF2, Needs::Nothing, KeyAction::Open},
    {kVkF7, Needs::Nothing, KeyAction::Compile},
    {kVkF8, Needs::Nothing, KeyAction::Check},
    {kVkF9, Needs::Nothing, KeyAction::Save},
    {'2', Needs::Ctrl, KeyAction::New24},
    {'F', Needs::Ctrl, KeyAction::NewVersionInfo},
    {'B', Needs::Ctrl, KeyAction::NewBitmap},
    {'C', Needs::CtrlCurrent, KeyAction::Copy},
    {'D', Needs::Ctrl, KeyAction::NewDialog},
    {'I', Needs::Ctrl, KeyAction::NewIcon},
    {'O', Needs::CtrlDialog, KeyAction::TabOrder},
    {'P', Needs::CtrlDialog, KeyAction::DialogProperties},
    {'R', Needs::CtrlCurrent, KeyAction::Rename},
    {'T', Needs::CtrlCurrent, KeyAction::EditAsText},
    {'U', Needs::Ctrl, KeyAction::NewCursor},
    {'V', Needs::Ctrl, KeyAction::Paste},
    {kVkOemPlus, Needs::Ctrl, KeyAction::SecondCopy},
    {'Y', Needs::Ctrl, KeyAction::Redo},
    {'Z', Needs::CtrlShift, KeyAction::Redo},
    {'Z', Needs::Ctrl, KeyAction::Undo},
}};

// The names of the keys that are not a letter or a digit, as menus show them.
constexpr std::pair<int, std::string_view> kKeyNames[] = {
    {kVkEnter, "Invio"}, {kVkEscape, "ESC"}, {kVkInsert, "INS"}, {kVkDelete, "CANC"}, {kVkF2, "F2"},
    {kVkF7, "F7"},       {kVkF8, "F8"},      {kVkF9, "F9"},      {kVkOemPlus, "+"},
};

bool isLetterOrDigit(int key) {
  return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
}

std::string labelOf(const KeyRow& row) {
  std::string name;
  if (isLetterOrDigit(row.key)) {
    name = std::string(1, static_cast<char>(row.key));
  } else {
    for (const auto& [key, text] : kKeyNames)
      if (key == row.key) name = text;
  }
  switch (row.needs) {
    case Needs::Ctrl:
    case Needs::CtrlCurrent:
    case Needs::CtrlDialog:
      return "CTRL-" + name;
    case Needs::CtrlShift:
      return "CTRL-SHIFT-" + name;
    case Needs::Shift:
      return "SHIFT-" + name;
    default:
      return name;
  }
}

bool holds(Needs needs, const KeyState& s) {
  switch (needs) {
    case Needs::Nothing:
      return true;
    case Needs::Ctrl:
      return s.ctrl;
    case Needs::CtrlShift:
      return s.ctrl && s.shift;
    case Needs::Shift:
      return s.shift;
    case Needs::Current:
      return s.current != nullptr;
    case Needs::CtrlCurrent:
      return s.ctrl && s.current != nullptr;
    case Needs::CtrlDialog:
      return s.ctrl && s.current && s.current->type == ResourceType::Dialog;
    case Needs::Esc:
      return s.escEnabled;
  }
  return false;
}

// Rows that match the key but whose condition fails stop the search when they need the
// current entry: the key belongs to them, it just does nothing now.
bool claimsKey(Needs needs, const KeyState& s) {
  switch (needs) {
    case Needs::Current:
      return true;
    case Needs::CtrlCurrent:
    case Needs::CtrlDialog:
      return s.ctrl;
    default:
      return false;
  }
}

bool nameBeginsWith(const std::string& name, const std::string& prefix) {
  if (name.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (upperByte(name[i]) != prefix[i]) return false;
  return true;
}

}  // namespace

std::string keyLabel(KeyAction action) {
  const KeyRow* found = nullptr;
  for (const KeyRow& row : kKeyTable) {
    if (row.action != action) continue;
    if (isLetterOrDigit(row.key)) return labelOf(row);
    if (!found) found = &row;
  }
  return found ? labelOf(*found) : std::string();
}

KeyAction keyAction(int virtualKey, const KeyState& state) {
  for (const KeyRow& row : kKeyTable) {
    if (row.key != virtualKey) continue;
    if (holds(row.needs, state)) return row.action;
    if (claimsKey(row.needs, state)) return KeyAction::None;
  }
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
