#include "resources/body_tokens.h"

#include <algorithm>

#include "syntax/syntax_tree.h"

namespace kolvre {

std::optional<BodyTokens> bodyTokens(std::string_view text, const Statement& statement) {
  const StatementTree tree = readStatementTree(text, statement);
  std::size_t bodyNode = 0;
  for (std::size_t child : tree.children(0))
    if (tree.nodes[child].kind == NodeKind::Body) bodyNode = child;
  if (bodyNode == 0) return std::nullopt;
  BodyTokens body;
  const std::size_t opener = tree.nodes[bodyNode].first;
  body.bodyOffset = statement.begin + tree.tokens[opener].begin;
  body.tokens.reserve(tree.tokens.size() - opener);
  bool newLine = false;
  for (std::size_t i = opener + 1; i + 1 < tree.tokens.size(); ++i) {
    const TreeToken& t = tree.tokens[i];
    // A preprocessor line between two tokens parts their lines.
    if (t.kind == TokenKind::Directive) {
      newLine = true;
      continue;
    }
    Token token{t.kind, statement.begin + t.begin, statement.begin + t.end, t.newLine || newLine};
    newLine = false;
    // The readers take the L of a wide string as a word of its own before the string.
    if (t.kind == TokenKind::String && text[token.begin] == 'L') {
      body.tokens.push_back({TokenKind::Word, token.begin, token.begin + 1, token.newLine});
      token.begin += 1;
      token.newLine = false;
    }
    body.tokens.push_back(token);
  }
  return body;
}

SymbolTable withSystemNames(const SymbolTable* script,
                            const std::vector<std::pair<std::string_view, std::uint32_t>>& names) {
  SymbolTable table = script ? *script : SymbolTable{};
  for (const auto& [name, value] : names)
    if (!table.find(name)) table.define(name, std::to_string(value));
  return table;
}

std::optional<std::uint32_t> knownValue(std::string_view written, const SymbolTable* symbols) {
  const Evaluation e = evaluate(written, symbols);
  if (!e.value || !e.undefined.empty()) return std::nullopt;
  return e.value;
}

}  // namespace kolvre
