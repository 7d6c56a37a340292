// Accelerator tables (ACCELERATORS): their rows read, each key named as the editor shows it
// ("Ctrl+Maiusc+F5", "Ctrl+C" for "^C"), and the edits of a row: its key, its ID, its options,
// a row added or removed. An edit touches only the tokens it is about, and writes them the way
// the row was written: a diff of the script shows that row and nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "document/edit.h"
#include "syntax/statements.h"
#include "syntax/string_literal.h"
#include "syntax/symbols.h"

namespace kolvre {

enum AcceleratorOption : unsigned {
  kAccelVirtualKey = 1 << 0,  // VIRTKEY: the key is a virtual-key code
  kAccelAscii = 1 << 1,       // ASCII, written
  kAccelNoInvert = 1 << 2,    // NOINVERT
  kAccelAlt = 1 << 3,         // ALT
  kAccelShift = 1 << 4,       // SHIFT
  kAccelControl = 1 << 5,     // CONTROL, or a "^X" key
};

// The words of the options, in the order of the table, one blank between.
std::string acceleratorOptionWords(unsigned options);

// The modifiers among the options.
inline constexpr unsigned kAccelModifiers = kAccelAlt | kAccelShift | kAccelControl;

// An option word of a row as written: which option, where the word stands and where the comma
// before it begins.
struct AcceleratorWord {
  unsigned option = 0;
  std::size_t comma = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
};

struct Accelerator {
  std::string key;  // as written: "^C", "a", 65, VK_F5
  std::string id;   // as written
  std::optional<std::uint32_t> idValue;
  unsigned options = 0;    // AcceleratorOption, as written
  std::string label;       // the key as the editor shows it, with its modifiers
  std::size_t offset = 0;  // where the row starts in the text: its key
  std::size_t keyEnd = 0;
  std::size_t idBegin = 0;
  std::size_t idEnd = 0;
  std::vector<AcceleratorWord> words;  // the options in the order written
  std::size_t end = 0;                 // after the row's last token
  // The code the key stands for, where it is known: a virtual-key code in a VIRTKEY row, else
  // the character (3 for "^C"); and the modifiers the label shows.
  std::optional<std::uint32_t> code;
  unsigned modifiers = 0;
};

struct AcceleratorReading {
  std::vector<Accelerator> rows;
  std::string problem;    // why the body does not read ("Riga 12: ..."); the rows are then empty
  Statement statement;  // the table's statement
};

// The rows of an ACCELERATORS statement of `text`. Keys and ids take the values of `symbols`
// (may be null) and of the virtual-key names of the system's headers (VK_F5, ...).
AcceleratorReading readAccelerators(std::string_view text, const Statement& statement,
                                    const SymbolTable* symbols, const ScriptCharset& charset);

// The name of virtual key `code` ("F5", "Canc", "A"); "Tasto 0xNN" for a code without a name.
std::string virtualKeyName(std::uint32_t code);

// A key as shown: its modifiers ("Ctrl+", "Alt+", "Maiusc+") before its name.
std::string acceleratorLabel(unsigned options, std::string_view name);

// The header's name of virtual key `code` ("VK_F5"); empty for a key without one (letters and
// digits are written "A", "1").
std::string virtualKeyWord(std::uint32_t code);

// A key asked for: pressed in the panel, or typed as the panel shows keys. The row's form says
// which of its parts is written: a VIRTKEY row its virtual key, an ASCII row its character.
struct AcceleratorKey {
  std::optional<std::uint32_t> virtualKey;  // the virtual-key code, where the key has one
  std::optional<char> character;            // the printable character it types, where it does
  unsigned modifiers = 0;                   // kAccelControl, kAccelAlt, kAccelShift
  bool operator==(const AcceleratorKey&) const = default;
};

// A key as the panel shows it: "Ctrl+Maiusc+O" ("Shift+" too), "F5", "Canc", "a", a header's
// name ("VK_F5"), or a key as an ASCII row writes it ("^C" or "a" in quotes). Nothing for a text
// that names no key.
std::optional<AcceleratorKey> parseAcceleratorKey(std::string_view shown);

// The key as shown, with its modifiers.
std::string acceleratorKeyLabel(const AcceleratorKey& key);

// What the edits of a script's tables need besides the table: the script's symbols (for the
// IDs; may be null), and whether the virtual keys' header names (VK_F5) compile in it.
struct AcceleratorContext {
  const SymbolTable* symbols = nullptr;
  bool keyNames = true;
};
// The context of a document's tables: its key names compile where it includes a system header
// (<windows.h>, "afxres.h", ...).
AcceleratorContext acceleratorContext(const Document& doc, const SymbolTable* symbols);

// The table of the document's ACCELERATORS statement that begins at `begin`, with why it is not
// edited in place (`problem`) when its body does not read, or the tree reads it only in part.
AcceleratorReading documentAccelerators(const Document& doc, std::size_t begin,
                                        const SymbolTable* symbols);

// Why table `table` of `script` is not edited in place: the reader's problem, or a body the
// syntax tree reads only in part; empty when it is edited.
std::string acceleratorTableProblem(std::string_view script, const AcceleratorReading& table);

// The edits. Each throws Refusal, with the reason in Italian, where the row cannot say what is
// asked in its form or the compilers would refuse what it would write; an edit without splices
// where the row says that already.

// The key of row `row`, written as the row writes keys: a header's name or a quoted letter in a
// VIRTKEY row (VK_F5, "O"), a number where the row has one, "^C" or "a" in an ASCII row; the
// modifiers as the row's CONTROL, SHIFT and ALT words.
Edit setAcceleratorKey(std::string_view script, const AcceleratorReading& table, std::size_t row,
                       const AcceleratorKey& key, const AcceleratorContext& context);
// The ID of row `row`: a number, a defined symbol, or an expression of them.
Edit setAcceleratorId(std::string_view script, const AcceleratorReading& table, std::size_t row,
                      std::string_view id, const AcceleratorContext& context);
// The options of row `row` (AcceleratorOption bits): the words kept stay where they are, the
// ones taken away go with their comma, the new ones follow their neighbours.
Edit setAcceleratorOptions(std::string_view script, const AcceleratorReading& table,
                           std::size_t row, unsigned options);
// A new row `key, id` after row `after` (before the first when nothing), in the form of the row
// it follows (or the first): its indentation, its columns and commas, its VIRTKEY or ASCII and
// NOINVERT words.
Edit insertAccelerator(std::string_view script, const AcceleratorReading& table,
                       std::optional<std::size_t> after, const AcceleratorKey& key,
                       std::string_view id, const AcceleratorContext& context);
// Removes row `row`: its whole line when it holds nothing else, else its tokens.
Edit deleteAccelerator(std::string_view script, const AcceleratorReading& table, std::size_t row);

// The option words typed ("VIRTKEY, NOINVERT", any case, blanks or commas between): their bits,
// or nothing with the first word that is none in `unknown`.
std::optional<unsigned> parseAcceleratorOptions(std::string_view words, std::string* unknown);

// For each row, the earlier row of the same table that has the same key (with the same
// modifiers), where one has: the compiled table answers that key with the earlier row alone.
std::vector<std::optional<std::size_t>> duplicateAcceleratorKeys(const AcceleratorReading& table);
// The message of a row whose key (`label`) an earlier row has: that row's ID as shown and its
// line in the script.
std::string duplicateAcceleratorMessage(std::string_view label, std::string_view earlierId,
                                        std::size_t earlierLine);

}  // namespace kolvre
