// Finding one resource's text (its block) in the script text.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "syntax/statements.h"

namespace kolvre {

// A block as a half-open range of 0-based offsets into the script text: a resource statement
// from its name through its closing "}" or END, or its file name.
struct BlockExtent {
  std::size_t begin;
  std::size_t end;
  // False for a statement whose body never closes (or that names no file): it then runs to
  // the next statement at a line start.
  bool complete = true;
  std::string_view of(std::string_view text) const { return text.substr(begin, end - begin); }
  bool operator==(const BlockExtent&) const = default;
};

// The block of the resource or string table that starts at `offset`; nothing when none does.
std::optional<BlockExtent> blockAt(std::string_view text, std::size_t offset);
// The same among the text's statements, already read.
std::optional<BlockExtent> blockAt(const std::vector<Statement>& statements, std::size_t offset);

}  // namespace kolvre
