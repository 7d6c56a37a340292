// The dialog properties (changeDialogProperties): the name, caption, position, size and style of a
// DIALOG statement, edited in a form over the block's text without the designer.
//
// The form's fields are data here, with their checks; the new block is a pure function of the
// old block and the form's values. Only the fields the user edited change: a field left as shown
// is written back as it stood (a long name or caption whole, a coordinate written as a symbol, a
// STYLE statement over several lines). Once a field changes, the block's header is written in the
// editor's layout:
//   NAME DIALOG[EX] [memory options] x, y, cx, cy[header fields after cy]
//   STYLE flags
//   CAPTION "caption"                       when the caption is not blank
//   FONT ...                                the FONT statement as it stood
//   LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL  only when the block has no LANGUAGE statement
//   the other header statements (LANGUAGE, EXSTYLE, MENU, CLASS, comments), as written, in order
//   the body, from its "{" or BEGIN line through its "}" or END, as it stood
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "dialogs/dialog_reader.h"
#include "document/document.h"
#include "document/name_prompt.h"
#include "platform/user_interface.h"
#include "syntax/encoding.h"
#include "syntax/string_literal.h"

namespace kolvre {

// The form's caption, which also names the step in the undo menu.
inline constexpr std::string_view kDialogPropertiesTitle = "Proprietà dialog";

inline constexpr std::size_t kDialogCaptionLength = 140;

// The form "changeDialogProperties": field ids, labels and rules as data.
struct DialogPropertyField {
  int id;
  std::string_view label;
  std::string_view picture;  // the digits a number field holds ("9999"); empty: text
  bool required;             // must not be blank
  bool multiLine;
  std::size_t maxLength;  // characters the field takes; 0: no limit
};
inline constexpr std::array<DialogPropertyField, 7> kDialogPropertyFields{{
    {101, "Nome:", "", true, false, kMaxNameLength},
    {102, "Titolo:", "", false, false, kDialogCaptionLength},
    {103, "X", "9999", false, false, 4},
    {104, "Y", "9999", false, false, 4},
    {105, "L", "9999", true, false, 4},
    {106, "H", "9999", true, false, 4},
    {107, "Stile:", "", true, true, 0},
}};

// The form's values as texts (UTF-8).
struct DialogProperties {
  std::string name;     // 101
  std::string caption;  // 102: the caption as plain text, doubled quotes undone
  std::string x;        // 103, dialog units
  std::string y;        // 104
  std::string width;    // 105
  std::string height;   // 106
  std::string style;    // 107: the STYLE statement's flags, its lines joined by blanks
  bool operator==(const DialogProperties&) const = default;
};

// The value of field `id` (101 to 107).
std::string& dialogPropertyValue(DialogProperties& form, int id);
const std::string& dialogPropertyValue(const DialogProperties& form, int id);

// How many characters field `id` takes when it shows `shown`: its own length, or more when the
// value shown is longer, so that an existing name or caption is shown whole.
std::size_t fieldLength(int id, const DialogProperties& shown);

// How the form reads the block's bytes and writes the values typed: the name and the style in
// the whole file's encoding (as the resource list shows the names), the caption in the code page
// in force where the dialog stands.
struct DialogTexts {
  // The caption in the code page the encoding stands for (no "#pragma code_page").
  DialogTexts(TextEncoding encoding)  // NOLINT: an encoding alone is a charset too
      : encoding(encoding),
        caption{encoding == TextEncoding::Utf8 ? kUtf8CodePage : kDefaultCodePage, false} {}
  DialogTexts(TextEncoding encoding, const ScriptCharset& caption)
      : encoding(encoding), caption(caption) {}
  TextEncoding encoding;
  ScriptCharset caption;
};

// The texts of the dialog whose block begins at `offset` of the document.
DialogTexts dialogTexts(const Document& doc, std::size_t offset);

struct DialogPropertiesReading {
  DialogFailure failure = DialogFailure::None;
  DialogProperties shown;  // meaningful when failure is None
};
// The form filled from a dialog's block (its bytes read as `texts` says).
DialogPropertiesReading readDialogProperties(std::string_view block, const DialogTexts& texts);

// Why the form may not be confirmed: the field and its message.
struct DialogPropertyFault {
  int field;
  std::string message;
};
// The checks of the form in field order, against the values shown: a required field left blank
// and a number that is not one give "Campo non valido.", a number of more digits than its
// picture "Numero troppo grande.", a style that cannot be read "Stile non valido."; a new name
// is checked as the name prompt checks one (so a name another dialog has is refused with "Nome
// risorsa già presente."; the dialog's own name in other letters is taken). A field left as shown
// always passes. `position`: the dialog's place in the index.
std::optional<DialogPropertyFault> checkDialogProperties(const DialogProperties& edited,
                                                         const DialogProperties& shown,
                                                         const ResourceIndex& index,
                                                         const DialogTexts& texts,
                                                         std::optional<std::size_t> position = {});

// The block with the edited values, from the old block as readDialogProperties read it. Nothing
// when no field changed. `edited` must pass the checks.
std::optional<std::string> dialogPropertiesBlock(std::string_view block,
                                                 const DialogProperties& shown,
                                                 const DialogProperties& edited,
                                                 const DialogTexts& texts);

// The edit that stores the edited values in place of the dialog of entry `position`: one step
// labelled with the form's caption. A new name reorders the script and makes the renamed dialog
// current. Nothing when no field changed or the block cannot be found.
std::optional<Edit> dialogPropertiesEdit(std::string_view text, const ResourceIndex& index,
                                         std::size_t position, const DialogProperties& shown,
                                         const DialogProperties& edited, const DialogTexts& texts);

// The form as the window layer shows it: filled with `shown`, closed through the close check
// (which runs `check` on confirm and asks "Annullo le modifiche?" on a cancel after a change).
// The values on confirm, nothing on cancel.
using DialogPropertiesCheck =
    std::function<std::optional<DialogPropertyFault>(const DialogProperties& edited)>;
using OpenDialogProperties = std::function<std::optional<DialogProperties>(
    const DialogProperties& shown, const DialogPropertiesCheck& check)>;

// changeDialogProperties: the properties of the dialog at `current`, edited in the form and stored
// as one step of the document's history. True when the script changed.
bool changeDialogProperties(UserInterface& ui, Document& doc, std::optional<std::size_t> current,
                            const OpenDialogProperties& open);

}  // namespace kolvre
