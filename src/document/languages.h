// The language a resource stands in, as a LANGUAGE statement gives it, and the short tag the
// list shows for it ("it", "de", "en-US").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvre {

struct Statement;

struct LanguageId {
  std::uint16_t primary = 0;
  std::uint16_t sub = 0;
  bool operator==(const LanguageId&) const = default;
};

// The value of one of a LANGUAGE statement's values: a number as the compilers read it
// (compilerNumber) that fits in 16 bits, or a LANG_ or SUBLANG_ name. Nothing for any other text.
std::optional<std::uint16_t> languageValue(std::string_view value);

// The short tag of a language: empty for the neutral one (primary 0); the ISO 639 code, with
// the region where the language's sublanguage names one ("en-US", "pt-BR", "it-CH"); the
// numbers in hexadecimal for a language the table lacks.
std::string languageTag(LanguageId id);

// The tag of a LANGUAGE statement's text ("LANGUAGE LANG_ITALIAN, SUBLANG_DEFAULT"): its
// language's tag, or its values as written (joined by a comma) when they are not both known.
std::string languageTagOf(std::string_view statementText);

// The tag of the LANGUAGE statement among a resource's or string table's own header statements;
// nothing when it has none.
std::optional<std::string> ownLanguageTag(std::string_view text, const Statement& s);
// The same from the statement's tree, `own` being the statement's text.
struct StatementTree;
std::optional<std::string> ownLanguageTag(std::string_view own, const StatementTree& tree);

// One tag per statement of `statements` (readStatements(text)): for a resource or string table,
// the language of its own LANGUAGE statement among its header statements, else of the last
// top-level LANGUAGE statement before it that the compiler keeps (`skipped`, as
// skippedStatements gives it, marks those it does not; a statement it skips takes the last of
// all, the language it would have were its branch kept); empty for the neutral language and for
// statements of other kinds.
std::vector<std::string> statementLanguages(std::string_view text,
                                            const std::vector<Statement>& statements,
                                            const std::vector<bool>& skipped = {});

}  // namespace kolvre
