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
#include "dialogs/dialog_model.h"
#include "dialogs/symbols.h"

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
};

// dialogPanel's reading part: the block from its header line on (the text after the dialog's end
// is allowed and left alone; dialog.blockLength says where the dialog ends). The rectangles
// and the live style follow the placement table for `mode`. With the script's symbols, numbers,
// ids and styles written with its names read as their values (the text keeps the names), and
// one notice names the symbols it lacks.
DialogReading readDialog(std::string_view block, DialogMode mode = DialogMode::Designer,
                         const SymbolTable* symbols = nullptr);

// Where the dialog that `block` begins with ends (the bytes through its "}" or END), or nothing
// when it has no body.
std::optional<std::size_t> dialogBlockLength(std::string_view block);

// readCaption: the caption of a CAPTION statement (trimmed): the text between its quotes as
// written. Nothing when the statement is not CAPTION, blanks and one quoted text.
std::optional<std::string> readCaption(std::string_view statement);

// readFont's reading: the FONT statement's fields.
struct FontStatement {
  int size = 0;
  std::optional<std::string> sizeText;  // when the size is not a plain number
  std::string face;                     // trimmed, every double quote removed
  std::optional<std::string> faceText;  // when the face field is not one quoted name
  std::string tail;                     // the fields after the face, from their first comma
};
// Nothing when the statement does not begin with the word FONT.
std::optional<FontStatement> readFont(std::string_view statement);

}  // namespace kolvre
