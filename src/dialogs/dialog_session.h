// One session of the dialog designer, from opening to storing: the loop that opens the designer
// on the dialog's working text, and on every close decides between storing, reopening and
// dropping the edit. The designer window itself is the caller's: the loop hands it a dialog
// read from the working text and takes back the dialog as the user left it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "dialogs/dialog_font.h"
#include "dialogs/dialog_model.h"
#include "document/blocks.h"
#include "document/document.h"
#include "platform/user_interface.h"
#include "syntax/symbols.h"

namespace kolvre {

inline constexpr std::string_view kAskStoreDialog =
    "La risorsa è stata modificata. Salvo le modifiche?";

// What follows the notices one message lists when a dialog's reading has more, before their count.
inline constexpr std::string_view kMoreNotices = "Altri avvisi: ";

// How the designer window ended, as the window's modal loop returns it.
enum class DesignerClose : int {
  Escape = 0,    // Esc (the window's "rejected")
  Reopen = 1,    // not closed by the user: the designer opens again on the stored text
  CloseBox = 2,  // the close box of the drawn frame
};

// The close code of a modal loop's result: Esc and the close box as such, anything else Reopen.
DesignerClose designerCloseOf(int result);

// How the designer window was closed.
struct DesignerClosing {
  // Closed by the user (Esc, the close box): the edit is then stored, kept or dropped.
  DesignerClose how = DesignerClose::Escape;
  DialogModel dialog;  // the dialog as the user left it
};

// Asked by an open designer when the user closes it, while the edited dialog is still in view:
// false keeps the designer open (the user cancelled the store question).
using MayCloseDesigner = std::function<bool(const DialogModel& left)>;

// Opens the designer on a dialog (read in designer mode) and returns once it has closed. A
// designer that calls `mayClose` before closing has the store question asked in front of it.
using OpenDesigner =
    std::function<DesignerClosing(const DialogModel& dialog, const MayCloseDesigner& mayClose)>;

// The designer session on the dialog of index entry `position`. Closing without a change asks
// nothing; after a change the user is asked whether to store it (Yes stores it as one step of
// the document's history, Cancel goes back to the designer on the edit, No drops it). The stored
// text is located again after every close, since the designer may have stored it meanwhile.
// False when the dialog cannot be opened: the reason is shown and the block is never touched.
// The dialog's pixels are its font's as `fonts` measure it (without them, kFixedBaseUnits).
bool designDialog(UserInterface& ui, Document& doc, std::size_t position, const OpenDesigner& open,
                  const DialogFontMetrics* fonts = nullptr);

// The dialog of the current entry `current` for a command on it: its extent in the text, or
// nothing when there is no current entry, it is no dialog, or its text cannot be located (then
// the user is told).
std::optional<BlockExtent> currentDialogExtent(UserInterface& ui, const Document& doc,
                                               std::optional<std::size_t> current);

// The block the designer writes for the dialog as read from `block` with nothing changed: the
// text the closing one is compared with. Nothing when the block cannot be read.
std::optional<std::string> unchangedDialogText(std::string_view block, std::string_view name,
                                               const SymbolTable* symbols = nullptr,
                                               const DialogFontMetrics* fonts = nullptr);

}  // namespace kolvre
