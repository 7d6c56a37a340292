#include "syntax/body_style.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "base/text.h"
#include "syntax/syntax_tree.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

// Resources looked at on each side of the place.
constexpr std::size_t kNeighbours = 4;

// The blanks before the first statement inside the body of `s`, opened by `opener`, where that
// statement begins a line of its own; nothing when none does.
std::optional<std::string> bodyIndentation(std::string_view text, const Statement& s,
                                           const Token& opener) {
  const StatementTree tree = readStatementTree(text, s);
  const auto after = std::find_if(tree.tokens.begin(), tree.tokens.end(), [&](const TreeToken& t) {
    return s.begin + t.begin >= opener.end;
  });
  if (after == tree.tokens.end() || !after->newLine || after + 1 == tree.tokens.end())
    return std::nullopt;  // the closer alone, or a statement on the opener's line
  const std::size_t begin = s.begin + after->begin;
  std::size_t lineBegin = begin;
  while (lineBegin > 0 && isBlank(text[lineBegin - 1])) --lineBegin;
  if (lineBegin == begin || (lineBegin > 0 && text[lineBegin - 1] != '\n')) return std::nullopt;
  return std::string(text.substr(lineBegin, begin - lineBegin));
}

}  // namespace

BodyStyle bodyStyleNear(std::string_view text, const std::vector<Statement>& statements,
                        std::size_t at) {
  const auto first =
      std::lower_bound(statements.begin(), statements.end(), at,
                       [](const Statement& s, std::size_t p) { return s.begin < p; });
  // The resources with a body nearest the place, the nearest one before it first.
  std::vector<std::pair<const Statement*, Token>> near;
  const auto take = [&](const Statement& s, std::size_t& count) {
    if (s.kind != StatementKind::Resource && s.kind != StatementKind::StringTable) return;
    const ResourceContent content = resourceContent(text, s);
    if (!content.opener || !content.closer) return;
    near.emplace_back(&s, *content.opener);
    ++count;
  };
  std::size_t before = 0, after = 0;
  for (auto it = first; it != statements.begin() && before < kNeighbours;) take(*--it, before);
  for (auto it = first; it != statements.end() && after < kNeighbours; ++it) take(*it, after);
  BodyStyle style;
  if (near.empty()) return style;
  std::size_t braces = 0;
  for (const auto& [s, opener] : near) braces += text[opener.begin] == '{';
  const bool nearestBraces = text[near.front().second.begin] == '{';
  const bool useBraces = 2 * braces > near.size() || (2 * braces == near.size() && nearestBraces);
  if (!useBraces) {
    // BEGIN as the nearest one that uses it writes it, END in the same case.
    const auto word = std::find_if(near.begin(), near.end(),
                                   [&](const auto& n) { return text[n.second.begin] != '{'; });
    style.open = std::string(word->second.of(text));
    const bool lower = std::islower(static_cast<unsigned char>(style.open[0])) != 0;
    const bool title = !lower && style.open.size() > 1 &&
                       std::islower(static_cast<unsigned char>(style.open[1])) != 0;
    style.close = lower ? "end" : title ? "End" : "END";
  }
  for (const auto& [s, opener] : near)
    if (const auto indentation = bodyIndentation(text, *s, opener)) {
      style.indent = *indentation;
      break;
    }
  return style;
}

std::string inBodyStyle(std::string_view block, const BodyStyle& style) {
  std::string out;
  out.reserve(block.size());
  for (std::size_t from = 0; from <= block.size();) {
    const std::size_t end = std::min(block.find("\r\n", from), block.size());
    std::string_view line = block.substr(from, end - from);
    std::size_t levels = 0;
    while (line.starts_with("  ")) {
      line.remove_prefix(2);
      ++levels;
    }
    for (std::size_t i = 0; i < levels; ++i) out += style.indent;
    out += line == "{"   ? std::string_view(style.open)
           : line == "}" ? std::string_view(style.close)
                         : line;
    if (end == block.size()) break;
    out += "\r\n";
    from = end + 2;
  }
  return out;
}

}  // namespace kolvre
