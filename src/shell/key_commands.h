// The keys of the main window, the resource list and the tables of the resource panels, and the
// incremental search by name.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "document/scanner.h"

namespace kolvre {

// Virtual-key codes of the keys the editor answers.
enum VirtualKey : int {
  kVkEnter = 13,
  kVkEscape = 27,
  kVkInsert = 45,
  kVkDelete = 46,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkF2 = 113,
  kVkF3 = 114,
  kVkF7 = 118,
  kVkF8 = 119,
  kVkF9 = 120,
  kVkOemPlus = 187,
};

enum class KeyAction {
  None,
  CloseWindow,
  EditCurrent,  // the list's double-click action
  Delete,
  Copy,
  Paste,
  Open,
  Save,
  New24,
  NewVersionInfo,
  NewBitmap,
  NewCursor,
  NewDialog,
  NewIcon,
  NewMenu,
  NewStringTable,
  NewAccelerators,
  NewRcData,
  NewHtml,
  TabOrder,
  DialogProperties,
  Rename,
  EditAsText,
  SecondCopy,
  Undo,
  Redo,
  ReorderAll,  // "Riordina le risorse": the whole reorder, one step
  Compile,     // "Compila": a resource compiler on the saved script
  Check,       // "Verifica": the checks of the script
  // "Trova": the field of the text to find across the resources; the next and the previous
  // match of the last text found.
  Find,
  FindNext,
  FindPrevious,
  // In a panel's table: the current cell edited in place, a row added after the current one, the
  // current row deleted.
  EditCell,
  AddRow,
  DeleteRow,
  // In a panel whose rows are a tree (a menu's items): a separator or an empty group (a pop-up)
  // added after the current row, the current row moved up or down among its siblings, out of
  // its parent or into the parent beside it.
  AddSeparator,
  AddGroup,
  MoveRowUp,
  MoveRowDown,
  MoveRowOut,
  MoveRowIn,
};

// Where the keyboard focus stands when a key is pressed: the resource list (or no widget: the
// window's keys act on the list), a resource panel beside it, or elsewhere in the window (the
// findings panel): there only the window's own keys act.
enum class KeyContext : unsigned char { List, Panel, Elsewhere };

// Which modifiers a key row takes: any (Shift and Ctrl pressed with the key change nothing), none
// (Alt neither), exactly Ctrl, Shift, or both, or Alt alone.
enum class KeyModifierRule : unsigned char { Any, None, Ctrl, Shift, CtrlShift, Alt };

// What else a row needs to act: a current entry, a current dialog, the settings' leave to close on
// Esc. A key whose row does not hold does nothing; it never falls to another row.
enum class KeyCondition : unsigned char { Always, Current, Dialog, EscSetting };

// Where a row acts: in every context, or in one.
enum class KeyScope : unsigned char { Everywhere, List, Panel };

struct KeyBinding {
  int key;
  KeyModifierRule modifiers;
  KeyCondition condition;
  KeyAction action;
  KeyScope scope;
};

// Every key of the main window, each in the one place it acts.
std::span<const KeyBinding> keyBindings();

// The new-resource actions and the kind each one adds, in menu order.
inline constexpr std::array<std::pair<KeyAction, ResourceType>, 11> kNewResourceActions{{
    {KeyAction::New24, ResourceType::Manifest},
    {KeyAction::NewVersionInfo, ResourceType::VersionInfo},
    {KeyAction::NewBitmap, ResourceType::Bitmap},
    {KeyAction::NewCursor, ResourceType::Cursor},
    {KeyAction::NewDialog, ResourceType::Dialog},
    {KeyAction::NewIcon, ResourceType::Icon},
    {KeyAction::NewMenu, ResourceType::Menu},
    {KeyAction::NewStringTable, ResourceType::StringTable},
    {KeyAction::NewAccelerators, ResourceType::Accelerators},
    {KeyAction::NewRcData, ResourceType::RcData},
    {KeyAction::NewHtml, ResourceType::Html},
}};

// The key of an action as menus show it after a tab ("CTRL-B", "CANC", "F9"), from the key
// table: a letter or digit key where the action has one. Empty for an action without a key.
std::string keyLabel(KeyAction action);

struct KeyState {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  KeyContext context = KeyContext::List;
  bool escEnabled = false;              // the settings say Esc closes the window
  const IndexEntry* current = nullptr;  // the list's current entry; null with an empty index
};

// keyAction: the action of a key in the state's context: the row of the key table that the key,
// its modifiers and the context name, when its condition holds. Actions on the current entry give
// None while the index is empty.
KeyAction keyAction(int virtualKey, const KeyState& state);

// The state of the incremental search: the row it last left the list at and the letters so far.
struct KeySearchState {
  int searchRow = -1;
  std::string buffer;
  // When the last character was typed (milliseconds on any steady clock).
  std::optional<std::int64_t> lastKeyAt;
  // typeAheadSearch with nothing: empties the buffer.
  void reset() { buffer.clear(); }
};

// A pause longer than this between two typed characters starts a new search.
inline constexpr std::int64_t kSearchPauseMs = 1000;

// typeAheadSearch: handles one typed character against the index. `row` is the list's current
// row (0 is the first) and is moved to the first entry whose upper-cased name begins with the
// letters typed. `at` is when the character was typed: after a pause the letters typed before
// are forgotten, wherever the row stands. True when the row changed (the list is then
// stabilised).
bool typeAheadSearch(KeySearchState& state, const ResourceIndex& index, int& row, int character,
                     std::optional<std::int64_t> at = std::nullopt);

}  // namespace kolvre
