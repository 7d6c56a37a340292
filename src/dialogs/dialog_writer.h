// Writing the dialog model back as a DIALOG block, and the edit that stores it in the script.
//
// The block written (lines end with CR LF; none after the last):
//   NAME DIALOG[EX] [memory options] x, y, cx, cy[header fields after cy]
//   STYLE flags
//   CAPTION "caption"                    when the caption is not blank
//   FONT size, "face"[fields after the face]
//   LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL      only when the block had no LANGUAGE statement
//   the other header statements, as written, in their order
//   { or BEGIN, as the block had it
//    CONTROL "text", id, "CLASS", style, x, y, cx, cy[fields after cy]
//   } or END
// Each control line is preceded by the body statements that stood before it in the block.
// A field the model holds as a kept text (a symbol, an expression, a style outside the
// vocabulary) is written as that text while it still holds the value read from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dialogs/dialog_model.h"
#include "document/blocks.h"
#include "document/edit.h"
#include "document/scanner.h"

namespace kolvre {

// The label of a stored dialog in the undo menu.
inline constexpr std::string_view kLabelEditDialog = "Modifica dialog";

// A style as the writer puts it down: the names of `writer`'s family and the window flags, then
// one hexadecimal term ("0x0000000F") for the bits no written name covers; "0" when the style
// is 0 and no name applies.
std::string styleText(StyleWriter writer, std::uint32_t style);
// The dialog's own style text the same way (dialogStyleNames, then the bits it does not name).
std::string dialogStyleText(std::uint32_t style);

// The style field of a control written afresh as a CONTROL line: its kept text while its style
// is unchanged, else the names of its class's writer.
std::string controlStyleField(const DialogControl& control);
// controlStatement: one control line, with its leading blank and without a line end; its pixels
// read in the base units of the dialog it stands in.
std::string controlStatement(const DialogControl& control, BaseUnits base);

// dialogBlock: the whole block of the dialog named `name`.
std::string dialogBlock(const DialogModel& dialog, std::string_view name);

// Where the dialog of index entry `position` stands in the text: its block through the "}" or
// END of its body. Nothing when its header cannot be located or it has no body.
std::optional<BlockExtent> dialogExtent(std::string_view text, const ResourceIndex& index,
                                        std::size_t position);

// dialogEdit as an edit: `block` in place of the dialog of entry `position` (what follows its "}"
// or END stays), the entry current before and after, labelled kLabelEditDialog. Nothing when
// the entry is not a dialog, its extent cannot be found, or the block is unchanged.
std::optional<Edit> dialogEdit(std::string_view text, const ResourceIndex& index,
                               std::size_t position, std::string block);

}  // namespace kolvre
