// Finding one resource's text (its block) in the script text.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "document/resource_types.h"
#include "document/scanner.h"

namespace kolvre {

// A block as a half-open range of 0-based offsets into the script text.
struct BlockExtent {
  std::size_t begin;
  std::size_t end;
  std::string_view of(std::string_view text) const { return text.substr(begin, end - begin); }
  bool operator==(const BlockExtent&) const = default;
};

// Where a block ends, read from the marked lines after its header line (see blockEndIn).
struct BlockEnd {
  std::size_t end;
  // True when the block's body was opened ("{" or BEGIN) but does not close: the block was cut
  // short at a barrier or before the next header.
  bool cutInsideBody;
};

// The end of the block whose header starts at `begin`, from `marks`: the marked lines after
// the header line and before `limit`, where the next header starts (or the end of the text).
//
// The body opens at the first line that starts with "{" or BEGIN. The block runs through the
// first line that starts with "}" or, for a body opened with BEGIN, through the END that closes
// it (nested BEGIN and END pairs are counted, as version resources have them); the rest of that
// line stays with the block unless it is blank up to the next line feed. Inside the body, whole
// conditional sections (#if to #endif) belong to the block; an #else, #elif or #endif of a
// section opened outside, or a LANGUAGE line, cuts the block short before it, and so does a
// closing line inside a section still open (the block then ends before that section). Before
// the body opens, a conditional line cuts the block short, and so does a LANGUAGE line under a
// blank line; a LANGUAGE line right under the header's lines is the resource's own, unless no
// body opens after it. Without a closing line the block ends before the next header, with the
// whole sections of its body but before one still open there. A block cut short ends before
// the white space in front of where it was cut.
BlockEnd blockEndIn(std::string_view text, std::size_t begin, std::size_t limit,
                    std::span<const MarkedLine> marks);

// The block of header line `i` of `lines` (as scanHeaderLines gives them for `text`), by the
// rules of blockEndIn.
BlockExtent blockExtentAt(std::string_view text, const std::vector<HeaderLine>& lines,
                          std::size_t i);

// The block of the resource `name` of `type`: the `occurrence`-th (0-based) header line with
// exactly that name and type. Nothing when there is none.
std::optional<BlockExtent> locateBlock(std::string_view text, std::string_view name, ResType type,
                                       std::size_t occurrence = 0);

}  // namespace kolvre
