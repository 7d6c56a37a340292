// The tab order (changeTabOrder): the order of a dialog's controls, which is the order in which the
// keyboard focus moves through them, and their ids, edited in a list over the block's text
// without the designer.
//
// Every body statement is one row. A control (a CONTROL statement, or a short statement such as
// LTEXT or PUSHBUTTON) shows its text, id, class and x, y, cx, cy, and can be moved and given
// another id. Any other statement (a comment, a statement the reader does not know) shows its
// text in the caption column with an empty class; it can be moved but has no id. Blank lines are
// dropped. The block's lines up to its "{" or BEGIN line stay as they were; the body is written
// again row by row: a control by the dialog writer (a CONTROL statement in the writer's form, a
// short statement in its own form), any other statement as it stood.
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

struct TabOrderRow {
  // The control of the row; nothing for another body statement.
  std::optional<DialogControl> control;
  std::string text;  // another statement as written (CR LF between its lines)
  bool operator==(const TabOrderRow&) const = default;
};

// The texts of a row's cells, in column order (script bytes).
std::array<std::string, 7> rowCells(const TabOrderRow& row);

// The id as the list shows it: as written while it is a symbol or an expression, else the
// number; empty for a row that is no control.
std::string rowIdText(const TabOrderRow& row);

struct TabOrder {
  std::vector<TabOrderRow> rows;
  std::string head;   // the block through its "{" or BEGIN line and its line end
  std::string close;  // "}" or END as the block closes
  bool operator==(const TabOrder&) const = default;
};

struct TabOrderReading {
  DialogFailure failure = DialogFailure::None;
  TabOrder order;  // meaningful when failure is None
};
TabOrderReading readTabOrder(std::string_view block);

// The block with the rows in their order.
std::string tabOrderBlock(const TabOrder& order);

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
// last row it changes nothing. Confirm and EditId are left to the caller (the form closes, the id
// editor is a window). With no
// rows every key gives None.
TabOrderAction tabOrderKeyAction(std::vector<TabOrderRow>& rows, std::size_t& current, int key);

// The edit that stores the rows in place of the dialog of entry `position`: one step, the
// dialog current before and after. Nothing when the block comes out the same.
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

// changeTabOrder: the tab order of the dialog at `current`. A cancel after a change asks "Annullo
// le modifiche?"; No opens the list again on the rows as edited. A confirm stores the rows as one
// step of the document's history. True when the script changed.
bool changeTabOrder(UserInterface& ui, Document& doc, std::optional<std::size_t> current,
                    const OpenTabOrder& open);

}  // namespace kolvre
