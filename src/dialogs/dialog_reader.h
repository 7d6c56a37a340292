// Reading a DIALOG block into the dialog model. The reader is pure: the notices it would show
// ("Stile non valido.", "Controllo X non supportato.") come back as a list for the caller to
// show.
//
// What it reads, statement by statement (a statement continues onto the next line while a line
// ends with "," or "|", or the next line begins with one of them; tabs read as blanks up to the
// next multiple of four columns; leading and trailing blanks are ignored):
//   NAME DIALOG[EX] [memory options] x, y, cx, cy      blanks around the commas optional
//   STYLE flags                                         the first STYLE statement
//   CAPTION "text"                                      the first CAPTION statement
//   FONT size, "face"[, ...]                            the first FONT statement
//   { or BEGIN
//   CONTROL "text", id, class, style, x, y, cx, cy[, ...]
//   } or END                                            the first line that begins with "}" or
//                                                       is END
// Anything else is kept as written, at its place, for the writer. The control statements of the
// body are read by control_reader.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/control_reader.h"
#include "dialogs/dialog_font.h"
#include "dialogs/dialog_model.h"
#include "syntax/symbols.h"
#include "syntax/syntax_tree.h"

namespace kolvre {

// Why a block cannot be read. Such a dialog is not shown and never written back.
enum class DialogFailure : std::uint8_t {
  None,
  NoHeaderNumbers,  // the header does not hold x, y, cx and cy
  NoBody,           // no "{" or BEGIN line, or no "}" or END line after it
};

// The status text for a failure ("" for None).
std::string_view dialogFailureText(DialogFailure failure);

struct DialogReading {
  DialogFailure failure = DialogFailure::None;
  DialogModel dialog;                // meaningful when failure is None
  std::vector<std::string> notices;  // in the order they arose
  // The names no definition gives, each once, in the order they were met (one notice says them).
  std::vector<std::string> undefinedSymbols;
  // The STYLE statement's expression on one line, its comments and line ends one blank each
  // (empty without a STYLE statement): what the properties form shows.
  std::string styleText;
};

// dialogPanel's reading part: the block from its header line on (the text after the dialog's end
// is allowed and left alone; dialog.blockLength says where the dialog ends). The rectangles
// and the live style follow the placement table for `mode`. With the script's symbols, numbers,
// ids and styles written with its names read as their values (the text keeps the names), and
// one notice names the symbols it lacks. Pixels are the dialog font's, measured by `fonts`
// (without them, kFixedBaseUnits).
DialogReading readDialog(std::string_view block, DialogMode mode = DialogMode::Designer,
                         const SymbolTable* symbols = nullptr,
                         const DialogFontMetrics* fonts = nullptr);

// Where the dialog that `block` begins with ends (the bytes through its "}" or END), or nothing
// when it has no body.
std::optional<std::size_t> dialogBlockLength(std::string_view block);

// The statements of a text read as the body of a dialog reads them: a text from outside a block
// (the designer's paste, lines written by hand or by another program), so that a pasted control
// is one the block will read back. Blank lines and comments are no statements.
struct BodyStatement {
  std::string raw;      // its lines as written, CR LF between them
  std::string keyword;  // its first word
  // A control when the statement is one: not several statements on one line, nothing left
  // open at the text's end (a string or a comment that would run on into the body's end).
  ControlReading reading;
};
std::vector<BodyStatement> readBodyStatements(std::string_view text, BaseUnits base);

// The values of item `item` of a dialog statement's tree (`own`: the statement's text) as the
// control reader takes them: `raw` is the item's text as kept, which begins at `rawBegin` of
// `own`.
StatementFields itemFields(const StatementTree& tree, std::string_view own, std::size_t item,
                           std::string_view raw, std::size_t rawBegin);

// One line of control text read as readBodyStatements reads it: a control when it holds one
// control statement and nothing else.
ControlReading readStatementLine(std::string_view line, BaseUnits base);

}  // namespace kolvre
