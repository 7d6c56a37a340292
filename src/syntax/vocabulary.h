// The words of the script's syntax that every reader shares, written once: what opens and closes
// a body ("{" or BEGIN, "}" or END, the words in any letter case), and how a quote stands inside
// a string.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "syntax/lexer.h"

namespace kolvre {

// A token that opens a body: "{", or BEGIN as a whole word.
inline bool opensBody(std::string_view text, const Token& token) {
  const std::string_view s = token.of(text);
  return (token.kind == TokenKind::Punct && s == "{") ||
         (token.kind == TokenKind::Word && isKeyword(s, "BEGIN"));
}
// A token that closes one: "}", or END as a whole word.
inline bool closesBody(std::string_view text, const Token& token) {
  const std::string_view s = token.of(text);
  return (token.kind == TokenKind::Punct && s == "}") ||
         (token.kind == TokenKind::Word && isKeyword(s, "END"));
}

// The statements of a dialog's body: CONTROL and its short forms.
inline constexpr std::array<std::string_view, 19> kControlWords{
    "CONTROL",       "LTEXT",       "RTEXT",           "CTEXT",        "PUSHBUTTON",
    "DEFPUSHBUTTON", "PUSHBOX",     "CHECKBOX",        "AUTOCHECKBOX", "STATE3",
    "AUTO3STATE",    "RADIOBUTTON", "AUTORADIOBUTTON", "GROUPBOX",     "EDITTEXT",
    "COMBOBOX",      "LISTBOX",     "SCROLLBAR",       "ICON"};

// The statements that may stand between a resource's type and its body (a dialog's, a menu's,
// a string table's, ...).
inline constexpr std::array<std::string_view, 9> kHeaderWords{
    "STYLE", "EXSTYLE",  "CAPTION", "FONT",           "CLASS",
    "MENU",  "LANGUAGE", "VERSION", "CHARACTERISTICS"};

// The fixed fields of version information, in the order a new resource writes them.
inline constexpr std::array<std::string_view, 7> kVersionFields{
    "FILEVERSION", "PRODUCTVERSION", "FILEFLAGSMASK", "FILEFLAGS",
    "FILEOS",      "FILETYPE",       "FILESUBTYPE"};

// The memory options a resource statement may carry before its file or body.
inline constexpr std::array<std::string_view, 9> kMemoryOptionWords{
    "PRELOAD", "LOADONCALL", "FIXED",  "MOVEABLE", "DISCARDABLE",
    "PURE",    "IMPURE",     "SHARED", "NONSHARED"};

// What a symbol numbers, as the prefixes the resource tools give names tell it: a resource of a
// type (a type word; empty for several types), a dialog's control, a command (menu items and
// accelerators) or a string. The kind of a symbol the script never uses where its kind shows.
enum class IdKind : std::uint8_t { Resource, Control, Command, String };
struct IdPrefix {
  std::string_view prefix;
  IdKind kind;
  std::string_view type;  // Resource: the type word
};
inline constexpr std::array<IdPrefix, 9> kIdPrefixes{{
    {"IDD_", IdKind::Resource, "DIALOG"},
    {"IDR_", IdKind::Resource, ""},
    {"IDI_", IdKind::Resource, "ICON"},
    {"IDB_", IdKind::Resource, "BITMAP"},
    {"IDC_", IdKind::Control, ""},
    {"IDS_", IdKind::String, ""},
    {"IDP_", IdKind::String, ""},
    {"IDM_", IdKind::Command, ""},
    {"ID_", IdKind::Command, ""},
}};

// The places a word of the vocabulary has in the grammar, as bits: a reader looks a word up once
// (wordClasses) where it would otherwise test it against each list and keyword in turn.
namespace words {
inline constexpr std::uint32_t kBegin = 1u << 0;
inline constexpr std::uint32_t kEnd = 1u << 1;
inline constexpr std::uint32_t kStringTable = 1u << 2;
inline constexpr std::uint32_t kLanguage = 1u << 3;
inline constexpr std::uint32_t kVersion = 1u << 4;
inline constexpr std::uint32_t kCharacteristics = 1u << 5;
inline constexpr std::uint32_t kResourceType = 1u << 6;   // kResourceKeywords (statements.h)
inline constexpr std::uint32_t kMemoryOption = 1u << 7;   // kMemoryOptionWords
inline constexpr std::uint32_t kControl = 1u << 8;        // kControlWords
inline constexpr std::uint32_t kHeader = 1u << 9;         // kHeaderWords
inline constexpr std::uint32_t kVersionField = 1u << 10;  // kVersionFields
inline constexpr std::uint32_t kMenuItem = 1u << 11;
inline constexpr std::uint32_t kPopup = 1u << 12;
inline constexpr std::uint32_t kSeparator = 1u << 13;
inline constexpr std::uint32_t kBlock = 1u << 14;
inline constexpr std::uint32_t kValue = 1u << 15;
inline constexpr std::uint32_t kButton = 1u << 16;
inline constexpr std::uint32_t kNot = 1u << 17;
// The words no resource name can be: the statement words, the predefined types and the body's
// delimiters.
inline constexpr std::uint32_t kReserved =
    kBegin | kEnd | kStringTable | kLanguage | kVersion | kCharacteristics | kResourceType;
}  // namespace words

// The classes of `word` (a whole word, any letter case): the bits of words:: it has, 0 for a
// word outside the vocabulary. Only the classes `among` are looked for, and told.
std::uint32_t wordClasses(std::string_view word, std::uint32_t among = ~0u);
// The index in kResourceKeywords of the predefined type `word` names, or -1.
int resourceKeywordIndex(std::string_view word);

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

// The text between the quotes of `literal` when it is one whole string literal as the lexer
// reads it, as written (doubled quotes kept): "..." (or L"..." when `wide` allows it). Nothing
// for anything else: a string left open, two strings, a word, a string with text beside it.
std::optional<std::string_view> quotedText(std::string_view literal, bool wide = false);
// The text of a field written as one quoted string or several side by side (which the compiler
// joins), each between its quotes with its doubled quotes undone, blanks between them left out;
// nothing when the field holds anything else.
std::optional<std::string> stringsText(std::string_view field);
// A text field as it is shown: stringsText, or the field as written (an icon's name).
std::string fieldText(std::string_view field);

// A word that closes a body (END), or opens one (BEGIN), in any letter case.
inline bool isEndWord(std::string_view word) {
  return isKeyword(word, "END");
}
inline bool isBeginWord(std::string_view word) {
  return isKeyword(word, "BEGIN");
}

// The file a quoted file name names, from its literal as written (quotes included): a doubled
// backslash stands for one backslash, a doubled quote or a backslash before a quote for a quote,
// as the lexer reads the literal; any other backslash stays, a separator of the path. A literal
// left open gives all that follows its quote.
std::string quotedFileName(std::string_view literal);

// A line (its comments blanked, blanks around it dropped) that opens a body: it begins with "{",
// or it is BEGIN alone.
bool opensBodyLine(std::string_view line);

// The value of a flag name of the style vocabulary (kStyleVocabulary, style_vocabulary.h) in
// any letter case; nothing for any other name.
std::optional<std::uint32_t> compilerNameValue(std::string_view name);

}  // namespace kolvre
