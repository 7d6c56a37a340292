// Keeping the listed resources in type-then-name order without moving anything else: the
// whole reorder, the move of one block to its place, and the place of a new block.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvre {

struct Statement;

// What stands between two blocks of a script whose blocks leave no example: two blank lines.
inline constexpr std::string_view kBlockSeparator = "\r\n\r\n\r\n";

// The whole reorder. The text is cut into stretches by barriers: preprocessor lines, top-level
// LANGUAGE, VERSION and CHARACTERISTICS statements, text that is no statement, and statements
// that cannot move (a body left open, a preprocessor line inside but whole conditional
// sections, another statement on one of their lines). In each stretch the listed blocks of
// each type are sorted by name into the places the blocks of that type held, so each type keeps
// its places; equal names keep their text order. A block moves with the comment lines right
// above it; everything else, blank lines and the final line end among it, stays in place.
std::string reorderScript(std::string_view text);

// Moves the listed block whose name starts at `offset` to its place in its stretch, and
// nothing else: among the stretch's other blocks of its type, before the first whose name
// sorts after its own, or after the last of them; where the stretch holds none of its type,
// before the first block of a type that sorts after its own, or after the stretch's last block.
// A block already in that place stays. It takes its comment lines above and the blank lines
// after it. The text comes back unchanged when no movable block starts at `offset`.
// `landed`, when given, receives where the block's name starts afterwards. With `nameBefore`
// (a renamed block's name before the rename) the block moves only when the blocks of its type
// in its stretch stood sorted with that name: a rename keeps a sorted stretch sorted, and moves
// nothing in a stretch its author did not sort.
std::string placeBlock(std::string_view text, std::size_t offset, std::size_t* landed = nullptr,
                       std::optional<std::string_view> nameBefore = std::nullopt);
// The same, with the text's statements already read (readStatements(text)).
std::string placeBlock(std::string_view text, const std::vector<Statement>& statements,
                       std::size_t offset, std::size_t* landed = nullptr,
                       std::optional<std::string_view> nameBefore = std::nullopt);

// Where a new block goes, and the text to insert there: in the script's last stretch, at the
// place placeBlock would give it, set apart as its neighbours are (by at most two blank lines).
// Where a statement left open would read the block (or the block a statement after it)
// otherwise, at the end of the text; nothing when it cannot go there either. Deleting the block
// (deletedRange) gives the text back byte for byte.
struct Insertion {
  std::size_t at = 0;
  std::size_t replacedEnd = 0;  // the text [at, replacedEnd) gives way (white space only)
  std::string text;
};
// `statements`, when given, are the text's (readStatements(text)).
std::optional<Insertion> newBlockInsertion(std::string_view text, std::string_view block,
                                           const std::vector<Statement>* statements = nullptr);

}  // namespace kolvre
