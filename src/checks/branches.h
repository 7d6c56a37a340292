// The conditional sections of a script (#if, #ifdef, #ifndef, then #elif, #else, up to #endif),
// read from the preprocessor lines of its syntax tree, as the symbol table reads them: without
// evaluating a condition. Which branch of which section each place of the text stands in tells
// two definitions the preprocessor never keeps both of, and an `#if 0` branch tells text it
// never keeps at all.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "syntax/syntax_tree.h"

namespace kolvre {

class ConditionalBranches {
 public:
  // `tree` follows `text`. The preprocessor lines inside a statement (a resource's body) count
  // where they stand.
  ConditionalBranches(std::string_view text, const SyntaxTree& tree);

  // True when `a` and `b` stand in different branches of one section: at most one of them is
  // compiled, whatever the conditions.
  bool exclusive(std::size_t a, std::size_t b) const;
  // True when `offset` stands in a branch whose condition is the number 0 alone (`#if 0`,
  // `#elif 0`), or in a section within one: text that is never compiled.
  bool dead(std::size_t offset) const;

 private:
  struct Branch {
    std::size_t section = 0;  // the sections numbered in the order they open
    std::size_t branch = 0;   // 0 the first, then one more at each #elif or #else
    bool dead = false;        // a branch under the condition 0
  };
  struct Stretch {
    std::size_t begin = 0;     // after the directive that opens it
    std::vector<Branch> path;  // the branches it stands in, outermost first
  };
  const std::vector<Branch>& pathAt(std::size_t offset) const;
  // Follows the preprocessor line `line`, read into `tree`, that ends at `end` in the text.
  void directive(std::string_view line, const StatementTree& tree, std::size_t end);

  std::vector<Branch> path_;        // while reading: the branches open
  std::size_t sections_ = 0;        // while reading: the sections met
  std::vector<Stretch> stretches_;  // in text order; the first begins at 0
};

}  // namespace kolvre
