// The symbols of a script: every #define of the script and of the headers it includes with
// quotes, with its value, where it is defined and where the script uses it (a control's ID, a
// menu item's, a string's, a resource's name, a word of another #define or of a condition),
// those used nowhere and those that share a value with another symbol of their kind marked;
// and the edit that renames a symbol everywhere, in the script and in its headers at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "document/edit.h"
#include "syntax/symbols.h"
#include "syntax/syntax_tree.h"
#include "syntax/vocabulary.h"

namespace kolvre {

// Where a symbol stands where it is used.
enum class SymbolUseKind : std::uint8_t {
  ResourceName,  // a resource's name
  Control,       // the ID of a dialog's control
  MenuItem,      // the ID of a menu item (or of a MENUEX pop-up)
  Accelerator,   // the command of an accelerator
  String,        // the ID of a string of a string table
  Directive,     // a word of another #define's value or of a condition
  Other,         // anywhere else: a control's coordinates, a dialog's header, ...
};

// The use kind as a table shows it ("controllo", "voce di menu", ...).
std::string_view symbolUseKindName(SymbolUseKind kind);

struct SymbolPlace {
  std::size_t file = 0;   // 0: the script; n: SymbolList::headers[n - 1]
  std::size_t begin = 0;  // the word's bytes in its file
  std::size_t end = 0;
  std::size_t line = 0;  // from 1
};

struct SymbolReference {
  SymbolUseKind kind = SymbolUseKind::Other;
  SymbolPlace place;
  // In the script: the index of the statement that holds it; for a resource, its type as
  // written, and for a control, its place among the dialog's controls.
  std::optional<std::size_t> statement;
  std::string resourceType;
  std::optional<std::size_t> control;
};

struct SymbolDefinition {
  std::string value;  // the replacement text, as the preprocessor reads it
  SymbolPlace place;  // of the name on its #define line
  // Its value as an ID (a 32-bit number), the other names as the last of their definitions
  // give them; nothing when it is no number or a name in it has no value.
  std::optional<std::uint32_t> number;
};

struct Symbol {
  std::string name;
  std::vector<SymbolDefinition> definitions;  // in the order they are read (usually one)
  // The number of its last definition, as the preprocessor leaves it.
  std::optional<std::uint32_t> value;
  std::vector<SymbolReference> uses;  // in the script, then in the headers, each in text order
  // What it numbers: from its uses, else from its name's prefix (kIdPrefixes). A resource
  // kind carries the resource's type ("DIALOG"; empty when the prefix says no type).
  struct Kind {
    IdKind kind = IdKind::Resource;
    std::string type;
    bool operator==(const Kind&) const = default;
  };
  std::vector<Kind> kinds;
  // The other symbols of one of its kinds with the same value, by name.
  std::vector<std::string> sameValue;
  bool unused() const { return uses.empty(); }
};

struct SymbolList {
  std::vector<std::string> files;        // "" for the script, then each header's path as included
  std::vector<std::string> headerTexts;  // beside files[1..]: each header's text as read
  std::vector<Symbol> symbols;           // by name
  const Symbol* find(std::string_view name) const;
  std::size_t definitionCount() const;
};

// The symbols of `text` (its tree `tree`, following it), its headers read through `readHeader`.
SymbolList readSymbolList(std::string_view text, const SyntaxTree& tree,
                          const HeaderReader& readHeader);
// Those of the document, its held headers included.
SymbolList documentSymbols(const Document& doc);

// Renames the symbol `from` to `to` in the script and in the headers that define or use it:
// each word that is the name, and nothing else, in one step. `scriptPath` names the script's
// file (headers are found from its folder). Throws Refusal when `from` is defined nowhere, or
// `to` is no name, is a word of the script's language, or a word the script or a header already
// uses. An edit without splices when `to` is `from`.
Edit renameSymbolEdit(std::string_view script, const SyntaxTree& tree, const SymbolList& list,
                      const std::string& scriptPath, std::string_view from, std::string_view to);

// "Rinomina simbolo" on the document: the edit, refused (Refusal) when a header it changes
// cannot be written, so that a save can write both files. `current`: the list's current
// entry, which follows the renamed name.
Edit renameSymbol(const Document& doc, std::string_view from, std::string_view to,
                  std::optional<ResourceKey> current = std::nullopt);

}  // namespace kolvre
