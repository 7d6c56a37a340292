// Fuzzes the syntax tree. The input is a script text, then (after the first NUL byte, when there
// is one) an edit: two bytes for where it starts, one for how many bytes it takes away, and the
// bytes it puts in their place. Rules: the tree of any bytes gives the text back byte for byte;
// its tokens stand in order and every node inside its parent; after the edit, the tree updated in
// place reads every statement as a fresh reading of the new text does.
#include <cstddef>
#include <cstdint>
#include <string>

#include "syntax/syntax_tree.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("tree", violation, rule);
}

void checkShape(const std::string& text, const kolvre::SyntaxTree& tree) {
  require(unless(kolvre::textFromTree(text, tree) == text, "the tree's text differs"),
          "round trip");
  for (std::size_t i = 0; i < tree.statements().size(); ++i) {
    const kolvre::Statement& s = tree.statements()[i];
    const kolvre::StatementTree& st = tree.statementTree(text, i);
    require(unless(!st.tokens.empty() && st.tokens.back().end == s.end - s.begin,
                   "statement " + std::to_string(i) + " ends before its End token"),
            "tokens cover");
    for (std::size_t t = 1; t < st.tokens.size(); ++t)
      require(unless(st.tokens[t - 1].end <= st.tokens[t].begin &&
                         st.tokens[t].begin <= st.tokens[t].end,
                     "token " + std::to_string(t) + " of statement " + std::to_string(i)),
              "tokens in order");
    require(unless(!st.nodes.empty() && st.nodes[0].size == st.nodes.size(),
                   "statement " + std::to_string(i) + " is not one node"),
            "one node per statement");
    for (std::size_t n = 0; n < st.nodes.size(); ++n) {
      const kolvre::TreeNode& node = st.nodes[n];
      require(unless(node.first <= node.last && node.last < st.tokens.size() &&
                         n + node.size <= st.nodes.size(),
                     "node " + std::to_string(n)),
              "node extents");
      for (std::size_t c : st.children(n))
        require(unless(node.first <= st.nodes[c].first && st.nodes[c].last <= node.last,
                       "node " + std::to_string(c) + " outside its parent"),
                "children inside");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  const std::size_t split = raw.find('\0');
  const std::string before = raw.substr(0, split);
  kolvre::SyntaxTree tree(before);
  checkShape(before, tree);
  if (split == std::string::npos || raw.size() < split + 4) return 0;

  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(raw[split + 1 + i]); };
  const std::size_t at = (byte(0) << 8 | byte(1)) % (before.size() + 1);
  const std::size_t taken = std::min<std::size_t>(byte(2) % 16, before.size() - at);
  std::string after = before;
  after.replace(at, taken, raw.substr(split + 4));
  tree.update(before, after);
  checkShape(after, tree);
  const kolvre::SyntaxTree fresh(after);
  require(unless(tree.statements().size() == fresh.statements().size(), "statement counts differ"),
          "update as fresh");
  for (std::size_t i = 0; i < fresh.statements().size(); ++i)
    require(unless(tree.statementTree(after, i) == fresh.statementTree(after, i),
                   "statement " + std::to_string(i) + " reads otherwise after the update"),
            "update as fresh");
  return 0;
}
