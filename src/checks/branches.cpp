#include "checks/branches.h"

#include <algorithm>

#include "syntax/conditionals.h"

namespace kolvre {

namespace {

// A condition that is the number 0 alone (comments and continuations aside): the usual way to
// leave resources out. `tree` is the tree of the preprocessor line `line`.
bool conditionZero(std::string_view line, const StatementTree& tree) {
  if (tree.tokens.size() < 2) return false;
  const TreeToken& keyword = tree.tokens[1];
  const std::string_view word = line.substr(keyword.begin, keyword.end - keyword.begin);
  if (word != "if" && word != "elif") return false;  // #ifdef 0 and #ifndef 0 test a name
  const std::vector<std::size_t> fields = tree.children(0);
  if (fields.size() != 1) return false;
  const TreeNode& field = tree.nodes[fields[0]];
  if (field.last - field.first != 1) return false;
  const TreeToken& value = tree.tokens[field.first];
  return value.kind == TokenKind::Number &&
         line.substr(value.begin, value.end - value.begin) == "0";
}

}  // namespace

ConditionalBranches::ConditionalBranches(std::string_view text, const SyntaxTree& tree) {
  stretches_.push_back({0, {}});
  forEachPreprocessorLine(
      text, tree.statements(),
      [&](std::size_t, std::string_view own, const StatementTree& line) {
        directive(own, line, static_cast<std::size_t>(own.data() - text.data()) + own.size());
      },
      true, &tree);
  path_.clear();
}

void ConditionalBranches::directive(std::string_view own, const StatementTree& tree,
                                    std::size_t end) {
  switch (tree.nodes[0].kind) {
    case NodeKind::If:
      path_.push_back({sections_++, 0, conditionZero(own, tree)});
      break;
    case NodeKind::Elif:
    case NodeKind::Else:
      if (path_.empty()) return;  // without its #if: the compiler refuses it
      ++path_.back().branch;
      path_.back().dead = tree.nodes[0].kind == NodeKind::Elif && conditionZero(own, tree);
      break;
    case NodeKind::EndIf:
      if (path_.empty()) return;
      path_.pop_back();
      break;
    default:
      return;
  }
  stretches_.push_back({end, path_});
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
