#include "resources/body_tokens.h"

#include <algorithm>

namespace kolvre {

std::optional<BodyTokens> bodyTokens(std::string_view text, const Statement& statement) {
  const std::string_view within = text.substr(0, std::min(statement.end, text.size()));
  Lexer lexer(within, statement.typeEnd, false);
  BodyTokens body;
  bool open = false;
  bool newLine = false;
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) {
    // A comment or a preprocessor line between two tokens still parts their lines.
    if (t.kind == TokenKind::Comment || t.kind == TokenKind::Directive) {
      newLine = newLine || t.newLine || t.kind == TokenKind::Directive;
      continue;
    }
    t.newLine = t.newLine || newLine;
    newLine = false;
    if (!open) {
      if (opensBody(within, t)) {
        open = true;
        body.bodyOffset = t.begin;
      }
      continue;
    }
    body.tokens.push_back(t);
  }
  if (!open) return std::nullopt;
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
