// The batch tool's commands and what they share: the context a command runs in, the exit
// codes, and the steps of the commands that work on one resource. cli.cpp reads the command
// line and runs the command it names; the commands stand in groups: script_commands.cpp (the
// script and its resources as text), image_commands.cpp, dialog_commands.cpp,
// style_commands.cpp, menu_commands.cpp and string_commands.cpp.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_interface.h"
#include "document/blocks.h"
#include "document/document.h"
#include "document/edit.h"
#include "syntax/resource_types.h"

namespace kolvre::cli {

// Exit codes: done, refused or failed (the reason went to `err`), usage error.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

struct Context {
  const std::vector<std::string>& args;  // after the command word
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  CliInterface& ui;
  std::size_t nth = 1;  // --nth K: the K-th resource of that name and type
  const MeasureSource& measure;
  // Set by a command that returns kUsage for a fault it has already told about (check: a file
  // that could not be read): the usage is then not written.
  bool reported = false;
};

// Opens FILE through the editor's own reading code; false (with the message) when it fails.
[[nodiscard]] bool openScript(Context& c, const std::string& file, Document& doc);

// A kind given as a keyword or a code ("DIALOG" or "D").
std::optional<ResourceType> parseType(std::string_view word);

// Takes "OPTION VALUE" out of the arguments; false when the option has no value.
bool takeOption(std::vector<std::string>& args, std::string_view option,
                std::optional<std::string>& value);

// A JSON string: quotes, backslashes and control characters escaped; bytes that are no UTF-8
// read as Windows-1252 characters, so the output is always UTF-8.
std::string jsonString(std::string_view text);

// Commits the edit and saves FILE when the script changed.
[[nodiscard]] int commitAndSave(Context& c, Document& doc, const Edit& edit);

// Opens FILE and finds the block of NAME TYPE (arguments 1 and 2), then runs the command on it.
// TYPE is a keyword or a code of a kind, or an Other type's word ("PNG"); a string table's NAME
// is the list's ("101..140").
int onResource(Context& c,
               const std::function<int(Document&, std::size_t, const BlockExtent&)>& command);

// A count of at least 1 written in decimal digits.
[[nodiscard]] bool parseCount(const std::string& text, std::size_t& count);

// The commands, each given the arguments after its command word; script_commands.cpp.
int cmdList(Context& c);
int cmdTree(Context& c);
int cmdReorder(Context& c);
int cmdShow(Context& c);
int cmdRename(Context& c);
int cmdDelete(Context& c);
int cmdReplace(Context& c);
int cmdNew(Context& c);
int cmdPaste(Context& c);

// image export|import|info FILE NAME TYPE [OUT|IN]; image_commands.cpp.
int cmdImage(Context& c);

// dialog_commands.cpp:
//
// dialog FILE NAME: the block the designer would store when closed without a change, in the
// file's form; the notices the designer would show go to standard error. Both forms read the
// dialog with the script's symbols (its #define lines and the headers it includes from its
// folder).
//
// dialog FILE NAME --controls: one line per control, tab-separated: the class (scriptClassName,
// a class macro or ordinal as the class it names), the id as written, x, y, cx, cy in dialog
// units as read, and the style the resource compiler gives it.
int cmdDialog(Context& c);

// dialog-props FILE NAME [--name N] [--caption C] [--pos X,Y] [--size W,H] [--style S]: the
// properties form filled with the options, checked as the form checks it, then stored (a new
// name reorders the script). Without options the form's fields are printed.
int cmdDialogProps(Context& c);

// tab-order FILE NAME [ROW...] [--id ROW=ID]...: the body rewritten with its current rows in
// the order given (1-based, every row once), in the writer's form; --id gives the row numbered
// as before the reorder another id. Without ROW the order stays and the rows are printed (after
// the ids were changed, when some were).
int cmdTabOrder(Context& c);

// string_commands.cpp:
//
// strings FILE: one line per string of every table: language tag, ID as written and the text
// with its escapes as written, tab-separated.
int cmdStrings(Context& c);
// string-set FILE ID TEXT [--lang TAG]: the text of the string of that ID (as written, or by
// value) set; without TAG the ID must stand in the tables of one language only.
int cmdStringSet(Context& c);
// version FILE NAME: the fixed fields (keyword, value), then the values of every block (block,
// key, value as written), tab-separated.
int cmdVersion(Context& c);
// version-set FILE NAME KEY VALUE [--lang BLOCK]: the value KEY of the StringFileInfo block
// BLOCK (its name, or the tag of the language its name gives; the only block when not given)
// set; a key the block lacks is added.
int cmdVersionSet(Context& c);

// style parse TEXT | style text FAMILY NUMBER; style_commands.cpp.
int cmdStyle(Context& c);

// menu_commands.cpp:
//
// menu FILE NAME: the items of menu NAME (MENU or MENUEX), one line each, indented two blanks
// per level: the text as shown (its shortcut after "\t"), a tab, the id as written, a tab, the
// flags (menuFlagWords). A body that does not read gives its reason on standard error.
int cmdMenu(Context& c);
// menu-set FILE NAME ITEM [--text T] [--id ID] [--flags F,...] [--type T] [--state S]
// [--help-id H]: the item of menu NAME whose ID is ITEM (as written, or by value), else whose
// texts without "&" are ITEM's parts between "/" ("File/Apri"), changed; T as menu prints it.
// The changes are one edit.
int cmdMenuSet(Context& c);

// check FILE... [--json]: the findings of every script (checkScripts), one line each; see
// check_command.cpp.
int cmdCheck(Context& c);

// symbol_commands.cpp:
//
// symbols FILE [--json]: one line per #define of the script and of its headers (symbolList):
// name, value as written, file and line, the number of uses, and what is marked (unused, the
// symbols of its kind with its value), tab-separated; --json: an array, one object per line
// with every use's file, line and kind.
int cmdSymbols(Context& c);
// symbol-rename FILE OLD NEW: the symbol renamed in the script and in its headers (every use
// and definition), the headers saved first.
int cmdSymbolRename(Context& c);

// accelerators FILE NAME: one line per row of table NAME: the key as shown, a tab, the id as
// written, a tab, the options written (acceleratorOptionWords).
int cmdAccelerators(Context& c);

// find FILE TEXT [--json]: every match of TEXT in the resources (findInResources), one line
// each: the resource (type code and name), the place, the text around the match; find_command.cpp.
int cmdFind(Context& c);

// accelerator-set FILE NAME ROW [--key K] [--id ID]: the key (as accelerators prints keys) and
// the ID of row ROW (from 1) of table NAME set; accelerator_commands.cpp.
int cmdAcceleratorSet(Context& c);

}  // namespace kolvre::cli
