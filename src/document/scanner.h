// The resource index: the resources the list shows, read from the script's statements and
// sorted as the list shows them: every resource statement and string table, or only the six
// kinds the editor creates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "syntax/resource_types.h"
#include "syntax/symbols.h"

namespace kolvre {

// One entry of the resource index.
struct IndexEntry {
  IndexEntry(std::string name, ResourceType type, std::size_t offset, std::string typeWord = {},
             std::string language = {})
      : name(std::move(name)),
        type(type),
        offset(offset),
        typeWord(std::move(typeWord)),
        language(std::move(language)) {}

  // The name as written; a string table's is its first and last ID as written ("101..140").
  std::string name;
  ResourceType type;
  std::size_t offset;    // where its statement starts in the text the index was built from
  std::string typeWord;  // Other: the type as written ("PNG", "2110")
  std::string language;  // the language's tag ("it", "en-US"); empty when neutral
  // It stands in a conditional branch the compiler skips (`#if 0`, `#ifdef APSTUDIO_INVOKED`,
  // the `#ifdef _WIN64` arm, ...): listed, but after its active namesakes.
  bool inactive = false;

  // The type column's text: the kind's code, or an Other type's own word.
  std::string_view code() const { return type == ResourceType::Other ? typeWord : typeCode(type); }
  // The type as a word of the script: the kind's keyword, or an Other type's own word.
  std::string_view keyword() const {
    return type == ResourceType::Other ? typeWord : typeKeyword(type);
  }
  bool operator==(const IndexEntry&) const = default;
};

using ResourceIndex = std::vector<IndexEntry>;

// Orders two resource names as the compilers tell them apart: a number (decimal, or 0x hex)
// before any other name, numbers by value, other names without regard to letter case.
// Negative, zero or positive, as a comparison does.
int compareNames(std::string_view a, std::string_view b);

// True when the compilers take the two names for one: equal without regard to letter case.
bool sameName(std::string_view a, std::string_view b);

// Which resources the index holds.
enum class ListedKinds : std::uint8_t { All, CreatableOnly };

// indexResources: the index of the text: every resource statement and string table (or only
// those of the six kinds the editor creates), sorted by name (compareNames), then type code,
// then the active entries before the inactive ones (skippedStatements, the headers the script
// includes with quotes read through `headers`). Entries with equal keys keep their text order.
ResourceIndex indexResources(std::string_view text, ListedKinds kinds = ListedKinds::All);
// The same from the text's statements, already read.
struct Statement;
ResourceIndex indexResources(std::string_view text, const std::vector<Statement>& statements,
                             ListedKinds kinds = ListedKinds::All,
                             const HeaderReader& headers = {});

// Sets each entry's `inactive` flag from the conditional sections of `text` (whose statements
// are `statements`) and puts the inactive entries after their active namesakes. Scripts without
// a conditional section are not read for them.
void markInactive(ResourceIndex& index, std::string_view text,
                  const std::vector<Statement>& statements, const HeaderReader& headers = {});
// The same for an index whose entries are all still unflagged (`fresh`), as indexResources
// makes it: nothing to take back.
void markInactive(ResourceIndex& index, std::string_view text,
                  const std::vector<Statement>& statements, const HeaderReader& headers,
                  bool fresh);

// The index of `after` made from `index`, the index of `before`: equal to
// indexResources(after, afterStatements, kinds), where the statements are those of each text.
// Only the statements the change reached are read again; the other entries keep their place and
// move with their text. A change to a LANGUAGE statement, or to many statements, builds the index
// again.
void updateIndex(ResourceIndex& index, std::string_view before,
                 const std::vector<Statement>& beforeStatements, std::string_view after,
                 const std::vector<Statement>& afterStatements, ListedKinds kinds);
// The same with the statements of the two texts already matched (matchStatements, with
// kMostIndexMatched). `sectionsKept`: the change is known to keep what every condition finds (a
// symbol renamed with every word of it), so a preprocessor line it changed builds nothing again.
struct StatementMatch;
void updateIndex(ResourceIndex& index, std::string_view before,
                 const std::vector<Statement>& beforeStatements, std::string_view after,
                 const std::vector<Statement>& afterStatements, ListedKinds kinds,
                 const StatementMatch& match, const HeaderReader& headers = {},
                 bool sectionsKept = false);
// The most statements added and taken away that the index follows one by one.
inline constexpr std::size_t kMostIndexMatched = 256;

// A string table's name in the list: its first and last ID as written, "first..last" ("101"
// for a table of one string, kEmptyTableName for one with none). `s` is the table's statement.
inline constexpr std::string_view kEmptyTableName = "(vuota)";
std::string stringTableName(std::string_view text, const Statement& s);
// The same from the table's tree, `own` being its statement's text.
struct StatementTree;
std::string stringTableName(std::string_view own, const StatementTree& tree);

}  // namespace kolvre
