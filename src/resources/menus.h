// Menus (MENU and MENUEX): their bodies read into a tree of items, as the editor shows them.
// The reading is the compiler's without its preprocessor: the body's comments and preprocessor
// lines are skipped, and a macro written in an item's place is no item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

struct MenuEntry {
  bool popup = false;
  std::string text;      // the text as shown (UTF-8), up to its first tab
  std::string shortcut;  // the text after that tab (or after "\a"): the shortcut column
  std::string id;        // as written; empty when the item has none
  std::optional<std::uint32_t> idValue;  // where every name of `id` is known
  std::string type;                      // MENUEX: the type and state as written
  std::string state;
  unsigned flags = 0;            // MenuFlag
  std::size_t offset = 0;        // where its MENUITEM or POPUP stands in the text
  std::vector<MenuEntry> items;  // a pop-up's items
};

struct MenuReading {
  bool extended = false;  // MENUEX
  std::vector<MenuEntry> items;
  // Why the body does not read, as a sentence ("Riga 12: ..."); the items are then empty.
  std::string problem;
};

// The menu of a MENU or MENUEX statement of `text`. Ids and MENUEX expressions take the values
// of `symbols` (may be null) and of the menu names of the system's headers (MFT_SEPARATOR,
// MFS_GRAYED, ...); texts are decoded with `charset`.
MenuReading readMenu(std::string_view text, const Statement& statement, const SymbolTable* symbols,
                     const ScriptCharset& charset);

// The items of the tree, pop-ups and their items included.
std::size_t countMenuEntries(const std::vector<MenuEntry>& items);

}  // namespace kolvre
