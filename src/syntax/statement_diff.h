// How the statements of a text before and after a change correspond: those that stand unchanged
// at its start and at its end, and between them those that only moved (a block placed
// elsewhere, the statements it passed). What follows a change reads again only the rest: the
// index, the kept statement trees, the check that an edit leaves the other statements alone.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "syntax/statements.h"

namespace kolvre {

struct StatementMatch {
  // Statements [0, first) of both read alike at the same offsets; statements from beforeEnd of
  // `before` and from afterEnd of `after` on read alike, moved by the difference in length.
  std::size_t first = 0;
  std::size_t beforeEnd = 0;
  std::size_t afterEnd = 0;
  // Between them, the pairs (index in before, index in after) of statements with the same bytes
  // read alike, in text order; `found` false (and no pairs) when more than the most asked for
  // were added and taken away.
  bool found = false;
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
};

// The same statement read in both texts, `moved` bytes further on in the second: equal extents,
// kind, name and type offsets, closed alike, from a header alike. (Its bytes are compared apart.)
bool sameStatement(const Statement& before, const Statement& after, std::ptrdiff_t moved);

// The statements of `before` and `after` matched (`beforeStatements` and `afterStatements` are
// their statements). Between the unchanged ends, the fewest statements added and taken away
// (Myers' algorithm), at most `most`.
StatementMatch matchStatements(std::string_view before,
                               const std::vector<Statement>& beforeStatements,
                               std::string_view after,
                               const std::vector<Statement>& afterStatements, std::size_t most);

}  // namespace kolvre
