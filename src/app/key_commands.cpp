#include "app/key_commands.h"

#include <array>

namespace kolvre {

namespace {

enum class Needs : unsigned char { Nothing, Ctrl, Shift, CtrlCurrent, CtrlDialog, Current, Esc };

struct KeyRow {
  int key;
  Needs needs;
  KeyAction action;
};

// Tested in order; the first row whose key and condition hold acts.
constexpr std::array<KeyRow, 20> kKeyTable{{
    {kVkEscape, Needs::Esc, KeyAction::CloseWindow},
    {kVkEnter, Needs::Current, KeyAction::EditCurrent},
    {kVkDelete, Needs::Current, KeyAction::Delete},
    {kVkInsert, Needs::CtrlCurrent, KeyAction::Copy},
    {kVkInsert, Needs::Shift, KeyAction::Paste},
    {kVkF2, Needs::Nothing, KeyAction::Open},
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
}};

bool holds(Needs needs, const KeyState& s) {
  switch (needs) {
    case Needs::Nothing:
      return true;
    case Needs::Ctrl:
      return s.ctrl;
    case Needs::Shift:
      return s.shift;
    case Needs::Current:
      return s.current != nullptr;
    case Needs::CtrlCurrent:
      return s.ctrl && s.current != nullptr;
    case Needs::CtrlDialog:
      return s.ctrl && s.current && s.current->type == ResType::Dialog;
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

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool nameBeginsWith(const std::string& name, const std::string& prefix) {
  if (name.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (upper(name[i]) != prefix[i]) return false;
  return true;
}

}  // namespace

KeyAction TASTI(int virtualKey, const KeyState& state) {
  for (const KeyRow& row : kKeyTable) {
    if (row.key != virtualKey) continue;
    if (holds(row.needs, state)) return row.action;
    if (claimsKey(row.needs, state)) return KeyAction::None;
  }
  return KeyAction::None;
}

bool KEYSEARCH(KeySearchState& state, const ResourceIndex& index, int& row, int character) {
  if (row != state.searchRow) state.buffer.clear();
  if (character != 8 && (character < 32 || character > 126)) return false;
  const int remembered = row;
  if (character == 8) {
    if (!state.buffer.empty()) state.buffer.pop_back();
  } else {
    state.buffer += upper(static_cast<char>(character));
  }
  int found = 0;
  for (std::size_t i = 0; i < index.size() && found == 0; ++i)
    if (nameBeginsWith(index[i].name, state.buffer)) found = static_cast<int>(i) + 1;
  if (found != 0) {
    row = found;
  } else {
    if (!state.buffer.empty()) state.buffer.pop_back();
    row = remembered;
  }
  state.searchRow = row;
  return row != remembered;
}

}  // namespace kolvre
