// Whether an edit left the reading of the statements it did not touch alone. Moving, adding or
// removing a block next to a statement left open (a body never closed, a string or comment
// that runs to the end of the text) can change where that statement ends: the compiler would
// then read the block as part of it. The edits check their result and take another way, or
// say why they cannot act, rather than make such a change.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "syntax/statements.h"

namespace kolvre {

// True when moving or removing blocks of `text`, or adding one, could change how a statement
// of it is read: a statement is left open, or the last one runs to the end of the text. When
// false, blocks of whole lines move without changing the reading of anything else.
bool mayReadOtherwise(std::string_view text, const std::vector<Statement>& statements);

// A text range [first, second).
using Range = std::pair<std::size_t, std::size_t>;

// True when every statement of `before` that overlaps none of `rewritten` (ranges of `before`)
// stands in `after` with the same kind and bytes, in any order, and `after` holds exactly
// `added` statements besides them (none counted when `added` is nothing).
bool keepsOtherStatements(std::string_view before, const std::vector<Statement>& beforeStatements,
                          std::string_view after, const std::vector<Range>& rewritten,
                          std::optional<std::size_t> added);

}  // namespace kolvre
