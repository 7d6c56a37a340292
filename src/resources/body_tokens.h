// The body of a resource statement as tokens, from the statement's syntax tree: what menus,
// accelerator tables and inline data are read from. Comments and preprocessor lines are left
// out; the readers walk the rest by index, looking ahead as they need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "syntax/symbols.h"
#include "syntax/lexer.h"
#include "syntax/positions.h"
#include "syntax/statements.h"
#include "syntax/vocabulary.h"

namespace kolvre {

// The tokens of a resource's body, from its opening "{" or BEGIN (left out) to the end of the
// statement. `bodyOffset` is where the opening token stands; nothing when the statement has no
// body.
struct BodyTokens {
  std::vector<Token> tokens;
  std::size_t bodyOffset = 0;
};
std::optional<BodyTokens> bodyTokens(std::string_view text, const Statement& statement);

// Where the integer expression that starts at `at` ends: numbers, names, operators, NOT and
// parentheses, on one line unless an operator ends it. A name for which `stops` is true ends it
// (the keywords that follow a field). `at` itself when no expression starts there.
template <typename Stops>
std::size_t expressionEnd(std::string_view text, const std::vector<Token>& tokens, std::size_t at,
                          Stops stops) {
  bool wantsOperand = true;  // after an operator, an open parenthesis or at the start
  int depth = 0;
  std::size_t complete = at;  // after the last token that closed a whole expression
  for (std::size_t i = at; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (i > at && t.newLine && !wantsOperand) break;
    const std::string_view s = t.of(text);
    const bool word = t.kind == TokenKind::Word && !isKeyword(s, "NOT");
    if (t.kind == TokenKind::Number || word) {
      if (!wantsOperand || (word && stops(s))) break;
      wantsOperand = false;
    } else if (t.kind == TokenKind::Word) {  // NOT, before an operand
      wantsOperand = true;
    } else if (s == "(") {
      if (!wantsOperand) break;
      ++depth;
    } else if (s == ")") {
      if (depth == 0 || wantsOperand) break;
      --depth;
    } else if (t.kind == TokenKind::Punct &&
               std::string_view("+-*/|&~").find(s[0]) != std::string_view::npos) {
      // A sign or "~" may start an operand; the other operators need one before them.
      if (wantsOperand && s != "-" && s != "+" && s != "~") break;
      wantsOperand = true;
    } else {
      break;
    }
    if (!wantsOperand && depth == 0) complete = i + 1;
  }
  return complete;
}

// A script's symbols with the names of the system's headers that a kind of resource uses
// (its own definitions win): names and values as data, each once.
SymbolTable withSystemNames(const SymbolTable* script,
                            const std::vector<std::pair<std::string_view, std::uint32_t>>& names);

// The value of an expression as written, where every name in it is known.
std::optional<std::uint32_t> knownValue(std::string_view written, const SymbolTable* symbols);

}  // namespace kolvre
