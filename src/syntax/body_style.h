// How a script writes its resources' bodies: "{" and "}" or BEGIN and END (in their letter
// case), and the blanks that indent a statement inside one. A new resource is written the way
// its neighbours are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/statements.h"

namespace kolvre {

struct BodyStyle {
  std::string open = "{";
  std::string close = "}";
  std::string indent = "  ";  // one level
  bool operator==(const BodyStyle&) const = default;
};

// The style of the resources with a body nearest `at` in `text` (a few on each side): the opener
// most of them use, the nearest one before `at` deciding a tie, and the indentation of the first
// statement inside one that indents. A script without bodies gives the default.
BodyStyle bodyStyleNear(std::string_view text, const std::vector<Statement>& statements,
                        std::size_t at);

// `block` (lines ended by CR LF) written in `style`: each line that is "{" or "}" alone, after
// its indentation, takes the style's opener or closer; each two blanks that lead a line become
// one level of the style's indentation.
std::string inBodyStyle(std::string_view block, const BodyStyle& style);

}  // namespace kolvre
