// The words of the script's syntax that every reader shares, written once: what opens and closes
// a body ("{" or BEGIN, "}" or END, the words in any letter case), and how a quote stands inside
// a string.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "syntax/lexer.h"

namespace kolvre {

// A token that opens a body: "{", or BEGIN as a whole word.
bool opensBody(std::string_view text, const Token& token);
// A token that closes one: "}", or END as a whole word.
bool closesBody(std::string_view text, const Token& token);

// The statements of a dialog's body: CONTROL and its short forms.
inline constexpr std::array<std::string_view, 19> kControlWords{
    "CONTROL",      "LTEXT",       "RTEXT",       "CTEXT",     "PUSHBUTTON",
    "DEFPUSHBUTTON", "PUSHBOX",    "CHECKBOX",    "AUTOCHECKBOX", "STATE3",
    "AUTO3STATE",   "RADIOBUTTON", "AUTORADIOBUTTON", "GROUPBOX", "EDITTEXT",
    "COMBOBOX",     "LISTBOX",     "SCROLLBAR",   "ICON"};

// The statements that may stand between a resource's type and its body (a dialog's, a menu's,
// a string table's, ...).
inline constexpr std::array<std::string_view, 9> kHeaderWords{
    "STYLE", "EXSTYLE", "CAPTION", "FONT", "CLASS", "MENU", "LANGUAGE", "VERSION",
    "CHARACTERISTICS"};

// The fixed fields of version information, in the order a new resource writes them.
inline constexpr std::array<std::string_view, 7> kVersionFields{
    "FILEVERSION", "PRODUCTVERSION", "FILEFLAGSMASK", "FILEFLAGS",
    "FILEOS",      "FILETYPE",       "FILESUBTYPE"};

// True when `word` is one of `words`, in any letter case.
template <std::size_t N>
bool isOneOf(std::string_view word, const std::array<std::string_view, N>& words) {
  for (std::string_view w : words)
    if (isKeyword(word, w)) return true;
  return false;
}

// A text as it stands between a string's quotes: every quote doubled, as both compilers read it.
std::string doubledQuotes(std::string_view text);
// The inverse: each doubled quote one (other escapes are left as written).
std::string undoubledQuotes(std::string_view text);

// The file a quoted file name names, from its literal as written (quotes included): a doubled
// backslash stands for one backslash, a doubled quote or a backslash before a quote for a quote,
// as the lexer reads the literal; any other backslash stays, a separator of the path. A literal
// left open gives all that follows its quote.
std::string quotedFileName(std::string_view literal);

// A line (its comments blanked, blanks around it dropped) that opens a body: it begins with "{",
// or it is BEGIN alone.
bool opensBodyLine(std::string_view line);

}  // namespace kolvre
