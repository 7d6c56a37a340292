// Fuzzes reading a file's bytes as tokens and statements, the whole reorder and the move of
// one block. Any broken rule stops the run with the rule's description on standard error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/reorder.h"
#include "document/script_file.h"
#include "document/statements.h"
#include "support/reorder_invariants.h"

#include "fuzz_check.h"

namespace {

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("reorder", violation, rule);
}

// Bounds the moves tried on one input.
constexpr std::size_t kMaxMoves = 16;

// A known fault: a block whose file name is a string left open at the end of the text, or whose
// last line ends in a block comment left open, is moved like any other, and the text put after
// it in its new place is read into that string or comment (seeds open_string_file_name.rc,
// open_comment_after_block.rc). The rules of the reorder and of a block's move are checked on
// such a text only with KOLVRE_REORDER_STRICT set, so that a run can look for other faults.
const bool kStrict = std::getenv("KOLVRE_REORDER_STRICT") != nullptr;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  require(testing::checkDiskRoundTrip(bytes), "disk round trip");
  // The raw bytes too: lone CR and LF, NUL and bytes of any value inside a line.
  require(testing::checkTokens(bytes), "tokens cover the bytes");
  require(testing::checkStatementsCover(bytes), "statements cover the bytes");

  const std::string text = fromDisk(bytes).text;
  require(testing::checkTokens(text), "tokens cover the text");
  require(testing::checkStatementsCover(text), "statements cover the text");
  if (!kStrict && testing::detail::endsInsideStringOrComment(text)) return 0;
  require(testing::checkReorder(text, reorderScript(text)), "whole reorder");

  // Each listed block moved to its place alone.
  std::size_t moves = 0;
  for (const Statement& s : readStatements(text)) {
    if (!s.listed) continue;
    if (++moves > kMaxMoves) break;
    require(testing::checkPlaced(text, s.begin, placeBlock(text, s.begin)), "one block placed");
  }
  return 0;
}
