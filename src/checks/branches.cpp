#include "checks/branches.h"

#include <algorithm>

#include "base/text.h"
#include "syntax/lexer.h"

namespace kolvre {

namespace {

// An `#if` whose condition is the number 0 alone (comments aside): the usual way to leave
// resources out.
bool ifZero(std::string_view directive) {
  std::size_t k = 1;
  while (k < directive.size() && isBlank(directive[k])) ++k;
  if (directive.substr(k, 2) != "if" ||
      (k + 2 < directive.size() && lexing::isWordByte(directive[k + 2])))
    return false;
  std::string_view rest = directive.substr(k + 2);
  if (const std::size_t comment = std::min(rest.find("//"), rest.find("/*"));
      comment != std::string_view::npos)
    rest = rest.substr(0, comment);
  return trimSpace(rest) == "0";
}

}  // namespace

ConditionalBranches::ConditionalBranches(std::string_view text) {
  stretches_.push_back({0, {}});
  std::vector<Branch> path;
  std::size_t sections = 0;
  Lexer lexer(text);
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) {
    if (t.kind != TokenKind::Directive) continue;
    const std::string_view directive = t.of(text);
    switch (directiveKind(directive)) {
      case DirectiveKind::If:
        path.push_back({sections++, 0, ifZero(directive)});
        break;
      case DirectiveKind::Else:
        if (path.empty()) continue;  // an #else without its #if: the compiler refuses it
        ++path.back().branch;
        path.back().dead = false;
        break;
      case DirectiveKind::EndIf:
        if (path.empty()) continue;
        path.pop_back();
        break;
      case DirectiveKind::Other:
        continue;
    }
    stretches_.push_back({t.end, path});
  }
}

const std::vector<ConditionalBranches::Branch>& ConditionalBranches::pathAt(
    std::size_t offset) const {
  const auto after =
      std::upper_bound(stretches_.begin(), stretches_.end(), offset,
                       [](std::size_t at, const Stretch& stretch) { return at < stretch.begin; });
  return std::prev(after)->path;
}

bool ConditionalBranches::exclusive(std::size_t a, std::size_t b) const {
  const std::vector<Branch>& first = pathAt(a);
  const std::vector<Branch>& second = pathAt(b);
  for (std::size_t i = 0; i < first.size() && i < second.size(); ++i) {
    if (first[i].section != second[i].section) return false;
    if (first[i].branch != second[i].branch) return true;
  }
  return false;
}

bool ConditionalBranches::dead(std::size_t offset) const {
  const std::vector<Branch>& path = pathAt(offset);
  return std::any_of(path.begin(), path.end(), [](const Branch& b) { return b.dead; });
}

}  // namespace kolvre
