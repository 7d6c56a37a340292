// Finding one resource's text (its block) in the script text.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "document/resource_types.h"
#include "document/statements.h"

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

// The block of the resource `name` (any letter case, as the compilers compare names; a string
// table's name as the index gives it) of `type` (an Other type: of the type `typeWord`): the
// `occurrence`-th (0-based) of that name and type in text order. Nothing when there is none.
std::optional<BlockExtent> locateBlock(std::string_view text, std::string_view name,
                                       ResourceType type, std::size_t occurrence = 0,
                                       std::string_view typeWord = {});

}  // namespace kolvre
