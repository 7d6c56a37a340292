// Rebuilding the script text with its resource blocks in type-then-name order.
#pragma once

#include <string>
#include <string_view>

namespace kolvre {

// Three CR LF pairs: what stands between two blocks of a reordered script.
inline constexpr std::string_view kBlockSeparator = "\r\n\r\n\r\n";

// The reordered form of a script text. Blocks come sorted by type code, then by name as it
// stands (byte order); blocks with equal keys keep their text order, so duplicates each keep
// their own text. Text that belongs to no block (comments, preprocessor lines, other resource
// kinds) keeps its order and goes first, followed by the block separator.
//
// Barrier lines outside every block (conditional lines and LANGUAGE statements, see LineMark)
// stay in place: blocks are sorted only within each stretch between two of them, and the text
// of a stretch that belongs to no block goes first within that stretch, the barrier line that
// starts the stretch at its head. A text without barriers is one stretch. Runs in one pass over
// the text.
std::string reorderScript(std::string_view text);

}  // namespace kolvre
