// The tab order (changeTabOrder): the order of a dialog's controls, which is the order in which the
// keyboard focus moves through them, and their ids, edited in a list over the block's text
// without the designer.
//
// The rows are the items of the body as the syntax tree reads them. A control (a CONTROL
// statement, or a short statement such as LTEXT or PUSHBUTTON) shows its text, id, class and x,
// y, cx, cy, and can be moved and given another id. Any other item (a statement the reader does
// not know) shows its text in the caption column with an empty class; it can be moved but has no
// id. A preprocessor line is a row that stays where it stands, and no row moves past it: a
// control moved across an #if, #else or #endif would change the branch it stands in, across a
// #define the names it reads. Comments and blank lines are no rows: each row carries the lines
// above it since the line before (its comments, blank lines, its line end and indentation) and
// what follows it on its own last line (a comment), as the tree gives them to its first token.
// The block around the rows stays as it stands: its lines through "{" or BEGIN and what follows
// on that line, and from the line end after the last row through "}" or END (comments before
// the close included). Written back, a row keeps its bytes (a changed id rewritten in place by
// the dialog writer), and the order unchanged gives the block unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_model.h"
#include "dialogs/dialog_reader.h"
#include "document/document.h"
#include "platform/user_interface.h"
#include "syntax/syntax_tree.h"

namespace kolvre {

// The form's caption; the step in the undo menu is named after the context-menu item.
inline constexpr std::string_view kTabOrderTitle = "Ordine di tabulazione";
inline constexpr std::string_view kLabelTabOrder = "Ordine tabulazione";

// The columns of the list: heading, width in pixels, numbers aligned right.
struct TabOrderColumn {
  std::string_view heading;
  int width;
  bool rightAligned;
};
inline constexpr std::array<TabOrderColumn, 7> kTabOrderColumns{{
    {"Testo", 306, false},
    {"ID", 50, true},
    {"CLASSE", 130, false},
    {"X", 40, true},
    {"Y", 40, true},
    {"L", 40, true},
    {"H", 40, true},
}};
// The column of the ids, where the id editor is put.
inline constexpr std::size_t kIdColumn = 1;
// The digits an id takes, and its largest value: a control id is 16 bits in the dialog
// template.
inline constexpr std::string_view kIdPicture = "99999";
inline constexpr int kMaxControlId = 65535;

// The message for an order that moves a preprocessor line or a row across one.
inline constexpr std::string_view kTabOrderAcrossDirective =
    "Le righe del preprocessore (#if, #else, #endif, ...) restano al loro posto e nessuna riga "
    "passa oltre una di esse.";

struct TabOrderRow {
  // The control of the row; nothing for another item.
  std::optional<DialogControl> control;
  std::string text;      // the item as written, from its first token through its last
  std::string before;    // from the line end of the line before: comments, blank lines, indentation
  std::string after;     // what follows it on its last line: blanks, a comment
  std::size_t item = 0;  // its place among the body's items as read
  bool directive = false;  // a preprocessor line: it stays in its place
  bool operator==(const TabOrderRow&) const = default;
};

// The texts of a row's cells, in column order (script bytes).
std::array<std::string, 7> rowCells(const TabOrderRow& row);

// The id as the list shows it: as written while it is a symbol or an expression, else the
// number; empty for a row that is no control.
std::string rowIdText(const TabOrderRow& row);

struct TabOrder {
  std::vector<TabOrderRow> rows;
  std::string head;   // the block through "{" or BEGIN and what follows on its line
  std::string close;  // from the line end after the last row through "}" or END
  bool operator==(const TabOrder&) const = default;
};

struct TabOrderReading {
  DialogFailure failure = DialogFailure::None;
  TabOrder order;  // meaningful when failure is None
};
// The tab order of the dialog statement whose tree is `tree` (`statementText`: its text), or why
// there is none: a header without x, y, cx, cy, no body, or a body left open.
TabOrderReading readTabOrder(const StatementTree& tree, std::string_view statementText);
// The same for a block that begins with the dialog's statement.
TabOrderReading readTabOrder(std::string_view block);

// The block with the rows in their order.
std::string tabOrderBlock(const TabOrder& order);

// Why the rows cannot be stored in their order: a preprocessor line not in its place, or a row
// moved across one (kTabOrderAcrossDirective). Nothing when they can; rows that are not the
// items read, each once, are taken as they come.
std::optional<std::string_view> tabOrderFault(const TabOrder& order);

// The id editor's check of a typed id against the id shown: nothing when it may be taken (the
// id as shown always may); else "Campo non valido." for what is not a number, "Numero troppo
// grande." for more digits than the picture or a value above kMaxControlId.
std::optional<std::string_view> idFault(std::string_view typed, std::string_view shown);
// Stores a typed id (which passed idFault) in a control's row; the row is unchanged when the
// text is the id shown or the same number. False for a row that is no control.
bool setRowId(TabOrderRow& row, std::string_view typed);

// What a key does in the list.
enum class TabOrderAction : std::uint8_t { None, Confirm, EditId, MoveUp, MoveDown };
struct TabOrderKey {
  int key;  // virtual-key code
  TabOrderAction action;
};
inline constexpr std::array<TabOrderKey, 4> kTabOrderKeys{{
    {13, TabOrderAction::Confirm},    // Enter
    {113, TabOrderAction::EditId},    // F2 (as a double click)
    {122, TabOrderAction::MoveUp},    // F11
    {123, TabOrderAction::MoveDown},  // F12
}};

// tabOrderKeyAction: the key's action on the rows and the current row (0-based). A move swaps the
// current row with its neighbour and the current row follows the moved one; at the first or
// last row, or when either of the two is a preprocessor line, it changes nothing. Confirm and
// EditId are left to the caller (the form closes, the id editor is a window). With no rows every
// key gives None.
TabOrderAction tabOrderKeyAction(std::vector<TabOrderRow>& rows, std::size_t& current, int key);

// The edit that stores the rows in place of the dialog of entry `position`: one step, the
// dialog current before and after, its splices over the runs of rows that moved or changed
// (each row's bytes in the place of the row read there). Nothing when the block comes out the
// same or the order has a fault (tabOrderFault).
std::optional<Edit> tabOrderEdit(std::string_view text, const ResourceIndex& index,
                                 std::size_t position, const TabOrder& order);

// How the list closed: confirmed or not, with the rows as the user left them.
struct TabOrderClosing {
  bool confirmed = false;
  std::vector<TabOrderRow> rows;
  std::size_t current = 0;
};
// The list as the window layer shows it, on `rows` with `current` as the current row.
using OpenTabOrder =
    std::function<TabOrderClosing(const std::vector<TabOrderRow>& rows, std::size_t current)>;

// changeTabOrder: the tab order of the dialog at `current`, read from the document's tree. A
// cancel after a change asks "Annullo le modifiche?"; No opens the list again on the rows as
// edited. A confirm stores the rows as one step of the document's history (an order with a
// fault is told and the list opens again on it). True when the script changed.
bool changeTabOrder(UserInterface& ui, Document& doc, std::optional<std::size_t> current,
                    const OpenTabOrder& open);

}  // namespace kolvre
