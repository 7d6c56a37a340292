#include "syntax/code_pages.h"

#include <algorithm>
#include <iterator>

#include "syntax/lexer.h"
#include "syntax/syntax_tree.h"

namespace kolvre {

std::optional<int> pragmaCodePage(std::string_view line) {
  Statement s;
  s.kind = StatementKind::Directive;
  s.end = line.size();
  const StatementTree tree = readStatementTree(line, s);
  if (tree.nodes.empty() || tree.nodes[0].kind != NodeKind::CodePage) return std::nullopt;
  // '#', pragma, code_page, '(', the page, ')' and nothing more; the word "pragma" as the
  // preprocessor spells it.
  const auto text = [&](std::size_t i) { return tokenText(line, tree.tokens[i]); };
  if (tree.tokens.size() != 7 || text(1) != "pragma" || text(3) != "(" || text(5) != ")")
    return std::nullopt;
  const TreeToken& page = tree.tokens[4];
  const std::string_view value = text(4);
  if (page.kind == TokenKind::Word && isKeyword(value, "DEFAULT")) return kDefaultCodePage;
  if (page.kind != TokenKind::Number || value.size() > 6) return std::nullopt;
  int number = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

std::vector<CodePageChange> codePageChanges(std::string_view text, std::size_t end) {
  std::vector<CodePageChange> changes;
  end = std::min(end, text.size());
  // Most scripts hold none: no token is read unless the word stands somewhere before `end`.
  if (text.substr(0, end).find("pragma") == std::string_view::npos) return changes;
  Lexer lexer(text);
  for (Token t = lexer.next(); t.kind != TokenKind::End && t.begin < end; t = lexer.next())
    if (t.kind == TokenKind::Directive)
      if (const auto page = pragmaCodePage(t.of(text))) changes.push_back({t.begin, *page});
  return changes;
}

int codePageAt(std::string_view text, std::size_t offset) {
  const auto changes = codePageChanges(text, offset);
  return changes.empty() ? kDefaultCodePage : changes.back().page;
}

int codePageIn(const std::vector<CodePageChange>& changes, std::size_t offset) {
  // The changes stand in text order: the last one before `offset`.
  const auto after = std::partition_point(changes.begin(), changes.end(),
                                          [&](const CodePageChange& c) { return c.at < offset; });
  return after == changes.begin() ? kDefaultCodePage : std::prev(after)->page;
}

}  // namespace kolvre
