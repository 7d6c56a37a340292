#include "shell/key_commands.h"

#include <gtest/gtest.h>

namespace kolvre {
namespace {

const IndexEntry kDialog{"DLG", ResourceType::Dialog, 0};
const IndexEntry kIcon{"ICO", ResourceType::Icon, 0};

KeyState with(const IndexEntry* current, bool ctrl = false, bool shift = false) {
  KeyState s;
  s.current = current;
  s.ctrl = ctrl;
  s.shift = shift;
  return s;
}

TEST(KeyTable, EscClosesOnlyWhenTheSettingsSaySo) {
  EXPECT_EQ(keyAction(kVkEscape, with(&kIcon)), KeyAction::None);
  KeyState s = with(&kIcon);
  s.escEnabled = true;
  EXPECT_EQ(keyAction(kVkEscape, s), KeyAction::CloseWindow);
}

TEST(KeyTable, InsertNeedsCtrlOrShift) {
  EXPECT_EQ(keyAction(kVkInsert, with(&kIcon)), KeyAction::None);
  EXPECT_EQ(keyAction(kVkInsert, with(&kIcon, true)), KeyAction::Copy);
  EXPECT_EQ(keyAction(kVkInsert, with(&kIcon, false, true)), KeyAction::Paste);
}

TEST(KeyTable, KeysWithoutModifierIgnoreModifiers) {
  EXPECT_EQ(keyAction(kVkDelete, with(&kIcon, true, true)), KeyAction::Delete);
  EXPECT_EQ(keyAction(kVkF9, with(nullptr, true)), KeyAction::Save);
  EXPECT_EQ(keyAction(kVkF2, with(nullptr)), KeyAction::Open);
  // Compiling and checking need no current entry: an empty script still compiles.
  EXPECT_EQ(keyAction(kVkF7, with(nullptr)), KeyAction::Compile);
  EXPECT_EQ(keyAction(kVkF8, with(&kIcon, true)), KeyAction::Check);
  EXPECT_EQ(keyLabel(KeyAction::Compile), "F7");
  EXPECT_EQ(keyAction('R', with(&kIcon)), KeyAction::None);  // plain letters are for the search
}

TEST(KeyTable, F3FindsTheNextMatchAndWithShiftThePrevious) {
  // Ctrl+F3 does nothing.
  EXPECT_EQ(keyAction(kVkF3, with(nullptr)), KeyAction::FindNext);
  EXPECT_EQ(keyAction(kVkF3, with(&kIcon, false, true)), KeyAction::FindPrevious);
  EXPECT_EQ(keyAction(kVkF3, with(&kIcon, true)), KeyAction::None);
  EXPECT_EQ(keyLabel(KeyAction::FindNext), "F3");
  EXPECT_EQ(keyLabel(KeyAction::FindPrevious), "SHIFT-F3");
}

TEST(KeyTable, CtrlLetters) {
  const std::pair<int, KeyAction> rows[] = {
      {'2', KeyAction::New24},      {'B', KeyAction::NewBitmap},
      {'C', KeyAction::Copy},       {'D', KeyAction::NewDialog},
      {'I', KeyAction::NewIcon},    {'R', KeyAction::Rename},
      {'T', KeyAction::EditAsText}, {'U', KeyAction::NewCursor},
      {'V', KeyAction::Paste},      {kVkOemPlus, KeyAction::SecondCopy},
  };
  for (const auto& [key, action] : rows)
    EXPECT_EQ(keyAction(key, with(&kIcon, true)), action) << key;
  // Ctrl+F finds across the resources, in every place and with no resource current (it once
  // opened a new version resource, which has no key now).
  EXPECT_EQ(keyAction('F', with(&kIcon, true)), KeyAction::Find);
  KeyState panel = with(nullptr, true);
  panel.context = KeyContext::Panel;
  EXPECT_EQ(keyAction('F', panel), KeyAction::Find);
  EXPECT_EQ(keyAction('F', with(&kIcon, true, true)), KeyAction::None);
  EXPECT_EQ(keyLabel(KeyAction::Find), "CTRL-F");
  EXPECT_EQ(keyLabel(KeyAction::NewVersionInfo), "");
  // Ctrl letters take Ctrl alone: Ctrl+Shift+Z redoes, Ctrl+Shift+D makes no dialog.
  EXPECT_EQ(keyAction('Z', with(&kIcon, true)), KeyAction::Undo);
  EXPECT_EQ(keyAction('Z', with(&kIcon, true, true)), KeyAction::Redo);
  EXPECT_EQ(keyAction('D', with(&kIcon, true, true)), KeyAction::None);
}

KeyState inPanel(const IndexEntry* current, bool ctrl = false, bool shift = false) {
  KeyState s = with(current, ctrl, shift);
  s.context = KeyContext::Panel;
  return s;
}

TEST(KeyTable, APanelsTableOwnsF2InsertAndDelete) {
  // F2 edits the cell, not "Apri file di risorse"; Ins and Canc act on the table's rows, never
  // on the resource current in the list.
  EXPECT_EQ(keyAction(kVkF2, inPanel(&kIcon)), KeyAction::EditCell);
  EXPECT_EQ(keyAction(kVkInsert, inPanel(&kIcon)), KeyAction::AddRow);
  EXPECT_EQ(keyAction(kVkDelete, inPanel(&kIcon)), KeyAction::DeleteRow);
  EXPECT_EQ(keyAction(kVkDelete, inPanel(&kIcon, true)), KeyAction::None);
  EXPECT_EQ(keyAction(kVkEnter, inPanel(&kIcon)), KeyAction::None);
  // Ctrl+Ins adds a group (a menu's pop-up) there, never copies the resource as in the list.
  EXPECT_EQ(keyAction(kVkInsert, inPanel(&kIcon, true)), KeyAction::AddGroup);
  EXPECT_EQ(keyAction(kVkInsert, inPanel(&kIcon, false, true)), KeyAction::AddSeparator);
  EXPECT_EQ(keyAction('V', inPanel(&kIcon, true)), KeyAction::None);
  // A tree's rows move with Alt and the arrows, there alone; Alt with Ins or Canc does nothing.
  KeyState alt = inPanel(&kIcon);
  alt.alt = true;
  EXPECT_EQ(keyAction(kVkUp, alt), KeyAction::MoveRowUp);
  EXPECT_EQ(keyAction(kVkDown, alt), KeyAction::MoveRowDown);
  EXPECT_EQ(keyAction(kVkLeft, alt), KeyAction::MoveRowOut);
  EXPECT_EQ(keyAction(kVkRight, alt), KeyAction::MoveRowIn);
  EXPECT_EQ(keyAction(kVkInsert, alt), KeyAction::None);
  EXPECT_EQ(keyAction(kVkDelete, alt), KeyAction::None);
  EXPECT_EQ(keyAction(kVkUp, inPanel(&kIcon)), KeyAction::None);
  alt.context = KeyContext::List;
  EXPECT_EQ(keyAction(kVkUp, alt), KeyAction::None);
  EXPECT_EQ(keyLabel(KeyAction::MoveRowIn), "ALT-DESTRA");
  // The window's own keys still act there.
  EXPECT_EQ(keyAction(kVkF9, inPanel(&kIcon)), KeyAction::Save);
  EXPECT_EQ(keyAction('Z', inPanel(&kIcon, true)), KeyAction::Undo);
  EXPECT_EQ(keyAction('R', inPanel(&kDialog, true)), KeyAction::Rename);
  // The list keeps F2 for opening a script.
  EXPECT_EQ(keyLabel(KeyAction::Open), "F2");
  // Elsewhere in the window (the findings panel) only the window's own keys act.
  KeyState elsewhere = with(&kIcon);
  elsewhere.context = KeyContext::Elsewhere;
  for (const int key : {kVkDelete, kVkInsert, kVkEnter, kVkF2})
    EXPECT_EQ(keyAction(key, elsewhere), KeyAction::None) << key;
  EXPECT_EQ(keyAction(kVkF9, elsewhere), KeyAction::Save);
}

// Whether two rows can both take one press: the same key, in a common place, under modifiers
// both rules take.
bool overlap(const KeyBinding& a, const KeyBinding& b) {
  if (a.key != b.key) return false;
  const bool places =
      a.scope == b.scope || a.scope == KeyScope::Everywhere || b.scope == KeyScope::Everywhere;
  const bool modifiers = a.modifiers == b.modifiers || a.modifiers == KeyModifierRule::Any ||
                         b.modifiers == KeyModifierRule::Any;
  return places && modifiers;
}

TEST(KeyTable, NoKeyHasTwoMeaningsInOnePlace) {
  const auto rows = keyBindings();
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = i + 1; j < rows.size(); ++j)
      EXPECT_FALSE(overlap(rows[i], rows[j]))
          << "rows " << i << " and " << j << " both take key " << rows[i].key;
}

TEST(KeyTable, DialogKeysOnlyOnDialogs) {
  EXPECT_EQ(keyAction('O', with(&kDialog, true)), KeyAction::TabOrder);
  EXPECT_EQ(keyAction('P', with(&kDialog, true)), KeyAction::DialogProperties);
  EXPECT_EQ(keyAction('O', with(&kIcon, true)), KeyAction::None);
  EXPECT_EQ(keyAction('P', with(&kIcon, true)), KeyAction::None);
}

TEST(KeyTable, CommandsOnTheCurrentEntryDoNothingOnAnEmptyIndex) {
  for (int key : {'C', 'R', 'T', 'O', 'P'})
    EXPECT_EQ(keyAction(key, with(nullptr, true)), KeyAction::None);
  EXPECT_EQ(keyAction(kVkEnter, with(nullptr)), KeyAction::None);
  EXPECT_EQ(keyAction(kVkDelete, with(nullptr)), KeyAction::None);
  EXPECT_EQ(keyAction(kVkInsert, with(nullptr, true)), KeyAction::None);
  // Commands that need no entry still work.
  EXPECT_EQ(keyAction('V', with(nullptr, true)), KeyAction::Paste);
  EXPECT_EQ(keyAction('D', with(nullptr, true)), KeyAction::NewDialog);
  EXPECT_EQ(keyAction(kVkInsert, with(nullptr, false, true)), KeyAction::Paste);
}

ResourceIndex names(std::initializer_list<const char*> list) {
  ResourceIndex index;
  for (const char* n : list) index.push_back({n, ResourceType::Dialog, 0});
  return index;
}

TEST(KeySearch, TypedLettersFindNamesInAnyCase) {
  const ResourceIndex index = names({"ALPHA", "abc", "ABD", "zed"});
  KeySearchState s;
  int row = 0;
  EXPECT_FALSE(typeAheadSearch(s, index, row, 'a'));  // "A": ALPHA, already the row
  EXPECT_TRUE(typeAheadSearch(s, index, row, 'b'));   // "AB": abc
  EXPECT_EQ(row, 1);
  EXPECT_FALSE(typeAheadSearch(s, index, row, 'x'));  // nothing matches: dropped, row stays
  EXPECT_EQ(s.buffer, "AB");
  EXPECT_TRUE(typeAheadSearch(s, index, row, 'D'));
  EXPECT_EQ(row, 2);
  EXPECT_TRUE(typeAheadSearch(s, index, row, 8));  // "AB" again: abc
  EXPECT_EQ(row, 1);
  typeAheadSearch(s, index, row, 8);
  typeAheadSearch(s, index, row, 8);  // an empty buffer selects the first entry
  EXPECT_EQ(row, 0);
  EXPECT_EQ(s.buffer, "");
}

TEST(KeySearch, MovingTheRowStartsANewSearch) {
  const ResourceIndex index = names({"ALPHA", "BETA", "BRAVO"});
  KeySearchState s;
  int row = 0;
  typeAheadSearch(s, index, row, 'B');
  EXPECT_EQ(row, 1);
  row = 0;  // the arrow keys moved the list
  typeAheadSearch(s, index, row, 'R');
  EXPECT_EQ(s.buffer, "");  // "R" matches nothing after the reset
  EXPECT_EQ(row, 0);
  EXPECT_FALSE(typeAheadSearch(s, index, row, 7));  // other characters do nothing
}

TEST(KeySearch, APauseStartsANewSearchWhereverTheRowStands) {
  const ResourceIndex index = names({"ALPHA", "BETA", "BRAVO"});
  KeySearchState s;
  int row = 0;
  typeAheadSearch(s, index, row, 'B', 0);
  typeAheadSearch(s, index, row, 'R', 200);  // "BR": BRAVO, the search is complete
  EXPECT_EQ(row, 2);
  EXPECT_FALSE(typeAheadSearch(s, index, row, 'A', 200 + kSearchPauseMs));     // "BRA": no pause
  EXPECT_TRUE(typeAheadSearch(s, index, row, 'A', 300 + 2 * kSearchPauseMs));  // "A" alone
  EXPECT_EQ(row, 0);
  EXPECT_EQ(s.buffer, "A");
}

}  // namespace
}  // namespace kolvre
