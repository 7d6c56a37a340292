// The conditional sections of a script (#if, #ifdef, #ifndef, then #elif, #else, up to #endif),
// read as the symbol table reads the script: without evaluating a condition. Which branch of
// which section each place of the text stands in tells two definitions the preprocessor never
// keeps both of, and an `#if 0` branch tells text it never keeps at all.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace kolvre {

class ConditionalBranches {
 public:
  explicit ConditionalBranches(std::string_view text);

  // True when `a` and `b` stand in different branches of one section: at most one of them is
  // compiled, whatever the conditions.
  bool exclusive(std::size_t a, std::size_t b) const;
  // True when `offset` stands in the first branch of an `#if 0` section (or in a section
  // within one): text that is never compiled.
  bool dead(std::size_t offset) const;

 private:
  struct Branch {
    std::size_t section = 0;  // the sections numbered in the order they open
    std::size_t branch = 0;   // 0 the first, then one more at each #elif or #else
    bool dead = false;        // the first branch of an `#if 0`
  };
  struct Stretch {
    std::size_t begin = 0;     // after the directive that opens it
    std::vector<Branch> path;  // the branches it stands in, outermost first
  };
  const std::vector<Branch>& pathAt(std::size_t offset) const;

  std::vector<Stretch> stretches_;  // in text order; the first begins at 0
};

}  // namespace kolvre
