// The string tables of a script: each STRINGTABLE statement's strings as written (their IDs,
// their literals' places, their texts as the compiler stores them), and the edits that change
// one string, add one or remove one. An edit touches only the bytes of the string it is about:
// a diff of the script shows that line and nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "document/edit.h"
#include "resources/literals.h"
#include "syntax/statements.h"
#include "syntax/symbols.h"
#include "syntax/syntax_tree.h"

namespace kolvre {

struct StringEntry {
  std::string id;  // as written: a number, a symbol or an expression
  std::size_t idBegin = 0;
  std::size_t idEnd = 0;
  // The ID the compiler stores (16 bits); nothing when a name in it has no known value.
  std::optional<std::uint16_t> value;
  WrittenText text;
};

struct StringTable {
  std::size_t begin = 0;      // the STRINGTABLE word
  std::size_t end = 0;        // after the closing "}" or END
  std::size_t bodyBegin = 0;  // after the opening "{" or BEGIN
  std::string language;       // its language tag; empty: neutral
  std::vector<StringEntry> entries;
  // Why the body does not read (Italian, a sentence); the table then has no entries.
  std::string problem;
};

// The table of the STRINGTABLE statement `statement` of `text`.
StringTable readStringTable(std::string_view text, const Statement& statement,
                            const StringContext& context);
// The same from the statement's tree (readStatementTree(text, statement)).
StringTable readStringTable(std::string_view text, const Statement& statement,
                            const StatementTree& tree, const StringContext& context);

// Every string table of the script, in text order. `languages` holds one tag per statement
// (statementLanguages); a shorter list leaves the remaining tables neutral.
std::vector<StringTable> readStringTables(std::string_view text,
                                          const std::vector<Statement>& statements,
                                          const std::vector<std::string>& languages,
                                          const StringContext& context);

// Two IDs the compiler takes for one: equal values, or, where a value is unknown, the same
// text as written.
bool sameStringId(const StringEntry& a, const StringEntry& b);

// Sets the text of entry `entry` of `table`: rewrites its literal (one literal, its L prefix
// kept) and nothing else. An edit without splices when the text is already that.
Edit setStringText(std::string_view script, const StringTable& table, std::size_t entry,
                   std::string_view text, const StringContext& context);

// A new line `ID, "text"` after entry `after` (before the first when nothing), indented and
// spaced like the row it follows. Throws Refusal when the ID does not read or a table of the
// same language already holds it (`tables`: every table of the script).
Edit insertString(std::string_view script, const std::vector<StringTable>& tables,
                  std::size_t table, std::optional<std::size_t> after, std::string_view id,
                  std::string_view text, const StringContext& context);

// A new string table whose one string, empty, has the ID `firstId`, from the kind's template
// (newResourceEdit), placed and written as a new resource is. Throws Refusal when the ID does
// not read or a table of the language in force at its place already holds it; nothing when no
// place leaves the statements around it as they read.
std::optional<Edit> newStringTableEdit(std::string_view script,
                                       const std::vector<Statement>& statements,
                                       std::string_view firstId, const StringContext& context);

// "Nuova tabella delle stringhe": asks for the first ID and adds the table (newStringTableEdit);
// a refused ID throws Refusal with its reason.
class UserInterface;
bool newStringTable(UserInterface& ui, Document& doc, std::optional<std::size_t> current);

// Removes entry `entry`: its whole line when the line holds nothing else, else its tokens.
// Throws Refusal when what follows on its line would become a preprocessor line.
Edit deleteString(std::string_view script, const StringTable& table, std::size_t entry);

// Every string table of the document, with its language (statementLanguages).
std::vector<StringTable> documentStringTables(const Document& doc, const SymbolTable* symbols);

// The value of an ID as written (a number, a symbol, an expression); nothing when it does not
// read or a name in it is unknown.
std::optional<std::uint16_t> stringIdValue(std::string_view id, const SymbolTable* symbols);

}  // namespace kolvre
