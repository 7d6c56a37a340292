// Finding one resource's text (its block) in the script text.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "document/resource_types.h"
#include "document/scanner.h"

namespace kolvre {

// Header rule: the 1-based position of the first line that starts with name + one blank +
// keyword (the keyword may run on, DIALOG finds DIALOGEX), or 0 when there is none.
std::size_t headerPosition(std::string_view text, std::string_view name, std::string_view keyword);

// Block-end rule: from a 1-based header position, the length of the block through the first
// CR LF "}" after it. When there is no such brace the rule gives 2.
std::size_t blockLength(std::string_view text, std::size_t headerPos);

// Brace-end rule: from a 1-based header position, the length of the block through the first
// "}" anywhere after it; nothing when there is no "}".
std::optional<std::size_t> braceBlockLength(std::string_view text, std::size_t headerPos);

// A block as a half-open range of 0-based offsets into the script text.
struct BlockExtent {
  std::size_t begin;
  std::size_t end;
  std::string_view of(std::string_view text) const { return text.substr(begin, end - begin); }
  bool operator==(const BlockExtent&) const = default;
};

// The block of header line `i` of `lines` (as scanHeaderLines gives them for `text`): through
// the first line that starts with "}", but never past the next header line; a block cut short
// there ends before the blank lines that precede that header.
BlockExtent blockExtentAt(std::string_view text, const std::vector<HeaderLine>& lines,
                          std::size_t i);

// The block of the resource `name` of `type`: the `occurrence`-th (0-based) header line with
// exactly that name and type that the header rule can find. Nothing when there is none (a
// header with two blanks or a tab before its keyword cannot be located).
std::optional<BlockExtent> locateBlock(std::string_view text, std::string_view name, ResType type,
                                       std::size_t occurrence = 0);

}  // namespace kolvre
