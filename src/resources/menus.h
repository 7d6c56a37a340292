// Menus (MENU and MENUEX): their bodies read into a tree of items, as the editor shows them,
// with where each part of an item stands; and the edits that change one item's text, ID or
// flags, add an item, remove one or move one. The reading is the compiler's without its
// preprocessor: the body's comments and preprocessor lines are skipped, and a macro written in
// an item's place is no item. An edit touches only the tokens it is about (a moved item: its
// lines), so that a diff of the script shows that change and nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/edit.h"
#include "syntax/statements.h"
#include "syntax/string_literal.h"
#include "syntax/symbols.h"

namespace kolvre {

// What an item is and how it shows: the options of a MENU item, or what a MENUEX item's type
// and state give.
enum MenuFlag : unsigned {
  kMenuGrayed = 1 << 0,     // GRAYED, MFS_GRAYED: disabled and drawn gray
  kMenuInactive = 1 << 1,   // INACTIVE: disabled, drawn as usual
  kMenuChecked = 1 << 2,    // CHECKED, MFS_CHECKED
  kMenuBarBreak = 1 << 3,   // MENUBARBREAK, MFT_MENUBARBREAK: a new column, with a line
  kMenuBreak = 1 << 4,      // MENUBREAK, MFT_MENUBREAK: a new column
  kMenuHelp = 1 << 5,       // HELP, MFT_RIGHTJUSTIFY: on the right of the menu bar
  kMenuSeparator = 1 << 6,  // MENUITEM SEPARATOR, MFT_SEPARATOR
  kMenuDefault = 1 << 7,    // MFS_DEFAULT: the default item, in bold
};

// The words of the flags, in the order of the table, one blank between ("GRAYED CHECKED").
std::string menuFlagWords(unsigned flags);

// A MENUEX field after an item's text, between its commas: [begin, end) as written (empty: both
// just after the comma), and the comma before it.
struct MenuField {
  std::size_t comma = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
};

// A MENU option word as written, and the end of what stands before it (the ID, the text or the
// option before), so that [after, end) is the option with its comma and blanks.
struct MenuOption {
  std::size_t after = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
  unsigned flag = 0;  // MenuFlag
};

struct MenuEntry {
  bool popup = false;
  std::string text;      // the text as shown (UTF-8), up to its first tab
  std::string shortcut;  // the text after that tab (or after "\a"): the shortcut column
  std::string id;        // as written; empty when the item has none
  std::optional<std::uint32_t> idValue;  // where every name of `id` is known
  std::string type;                      // MENUEX: the type and state as written
  std::string state;
  std::string helpId;      // MENUEX pop-ups: the help ID as written
  unsigned flags = 0;      // MenuFlag
  std::size_t offset = 0;  // where its MENUITEM or POPUP stands in the text
  std::size_t end = 0;     // after its last token (a pop-up's "}" or END)
  // Its quoted text: the literal's place, and the whole text as compiled (UTF-8, the shortcut
  // after its tab included). A MENUITEM SEPARATOR has none (begin == end == 0).
  std::size_t textBegin = 0;
  std::size_t textEnd = 0;
  bool wide = false;
  std::string fullText;
  // MENU: the ID's place (items only); MENUEX: the fields after the text, ID first.
  std::size_t idBegin = 0;
  std::size_t idEnd = 0;
  std::vector<MenuField> fields;
  std::vector<MenuOption> options;  // MENU: the option words
  // A pop-up: after its body's "{" or BEGIN, and where its "}" or END begins.
  std::size_t bodyBegin = 0;
  std::size_t bodyEnd = 0;
  std::vector<MenuEntry> items;  // a pop-up's items
};

struct MenuReading {
  bool extended = false;  // MENUEX
  std::vector<MenuEntry> items;
  // Why the body does not read, as a sentence ("Riga 12: ..."); the items are then empty.
  std::string problem;
  Statement statement;  // the statement it was read from
  // After the body's "{" or BEGIN, and where its "}" or END begins.
  std::size_t bodyBegin = 0;
  std::size_t bodyEnd = 0;
};

// The menu of a MENU or MENUEX statement of `text`. Ids and MENUEX expressions take the values
// of `symbols` (may be null) and of the menu names of the system's headers (MFT_SEPARATOR,
// MFS_GRAYED, ...); texts are decoded with `charset`.
MenuReading readMenu(std::string_view text, const Statement& statement, const SymbolTable* symbols,
                     const ScriptCharset& charset);

// The menu names of the system's headers a MENUEX item's type and state are written with
// (MFT_SEPARATOR, MFS_GRAYED, ...), with their values.
const std::vector<std::pair<std::string_view, std::uint32_t>>& menuHeaderNames();

// The items of the tree, pop-ups and their items included.
std::size_t countMenuEntries(const std::vector<MenuEntry>& items);

// An item by where it stands: its place among the top-level items, then among its pop-up's.
using MenuPath = std::vector<std::size_t>;
// The item at `path`; null when none stands there.
const MenuEntry* menuEntryAt(const MenuReading& menu, const MenuPath& path);
// An item's path as the batch tool names it: its texts from the top level down, "&" left out,
// joined by "/" ("File/Apri").
std::string menuTextPath(const MenuReading& menu, const MenuPath& path);

// The flags of an option list as typed ("GRAYED, CHECKED", "grayed checked"; empty: none).
// Throws Refusal naming a word that is no option. DEFAULT is taken for a MENUEX item.
unsigned menuFlagsFromWords(std::string_view words);

// The edits. Each throws Refusal when the menu does not read (its problem), when the path
// names no item, or when the change cannot be written (the message says why); each gives one
// step of the history. `script`: the text `menu` was read from.

// Sets an item's whole text (the shortcut after a tab): its literal rewritten with the escapes
// and the code page the compilers read, its L prefix kept. No splice when it is already that.
Edit setMenuText(std::string_view script, const MenuReading& menu, const MenuPath& path,
                 std::string_view text, const ScriptCharset& charset);

// Sets an item's ID: a number, or a name `symbols` defines (an expression of such). Refused,
// naming it, when it is neither; a separator and a MENU pop-up have none. No splice when it is
// already written so.
Edit setMenuId(std::string_view script, const MenuReading& menu, const MenuPath& path,
               std::string_view id, const SymbolTable* symbols);

// Sets an item's flags (MenuFlag, separator aside). MENU: its option words, those it keeps
// left as written, new ones after the last; MENUEX: the terms of its type and state, a new
// term named as the menu names them (MFT_, MFS_) or else as a number.
Edit setMenuFlags(std::string_view script, const MenuReading& menu, const MenuPath& path,
                  unsigned flags, const SymbolTable* symbols);

// A MENUEX item's field as written: its type, state or (pop-ups) help ID. Empty takes the field
// away where nothing follows it, else writes 0.
enum class MenuExField { Type = 1, State = 2, HelpId = 3 };
Edit setMenuExField(std::string_view script, const MenuReading& menu, const MenuPath& path,
                    MenuExField field, std::string_view written, const SymbolTable* symbols);

// A new item (text and ID) or separator, to stand at `path` (the items from there on move one
// down): on a line of its own, indented and spelled like the item before it (or after it, or,
// in an empty pop-up, one step in from the pop-up).
struct NewMenuItem {
  bool separator = false;
  std::string text;    // UTF-8, the shortcut after a tab
  std::string id;      // as the user writes it (MENUEX: may be empty)
  bool popup = false;  // an empty pop-up, its body opened and closed as the menu's are
};
Edit insertMenuItem(std::string_view script, const MenuReading& menu, const MenuPath& path,
                    const NewMenuItem& item, const ScriptCharset& charset,
                    const SymbolTable* symbols);

// Removes an item, a pop-up with its items: its lines, when it stands on lines of its own,
// else its tokens.
Edit deleteMenuItem(std::string_view script, const MenuReading& menu, const MenuPath& path);

// Moves an item, with its lines and the comments after it on its last line: up or down among
// its siblings, out of its pop-up (after the pop-up; before it, from the pop-up's first place),
// into a pop-up beside it (the one before, as its last item; else the one after, as its first).
// The item's lines take the indentation of their new place. Refused where the item does not
// stand on lines of its own, where it would pass a preprocessor line, and where no move is.
enum class MenuMove { Up, Down, Out, In };
Edit moveMenuItem(std::string_view script, const MenuReading& menu, const MenuPath& path,
                  MenuMove move);
// Where the item at `path` stands after that move; nothing where the move is none.
std::optional<MenuPath> movedMenuPath(const MenuReading& menu, const MenuPath& path, MenuMove move);

// The ID offered to a new item: the first value past the largest ID of the menu (past
// _APS_NEXT_COMMAND_VALUE - 1 where the script's symbols set it) that neither an item of the
// menu nor a symbol of the script has.
std::uint32_t nextFreeMenuId(const MenuReading& menu, const SymbolTable* symbols);

}  // namespace kolvre
