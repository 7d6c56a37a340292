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
//
// Another: a statement left open ends where the next statement at a line start begins; when
// that is a block which then moves away, the open statement runs on over the lines that follow,
// and a block whose type is no keyword (a manifest, 24) moved there is read into it (seeds
// block_after_open_statement.rc, manifest_moved_after_open_statement.rc); the whole reorder
// may also put there a block whose comment lines above it then fall into the open statement
// (seed comment_read_into_open_body.rc). A text with a block right after a statement left open
// is checked only with KOLVRE_REORDER_STRICT set.
//
// Another: inside a body, a preprocessor line whose '#' follows a comment or white space other
// than blanks and tabs on its line (a lone CR or LF) is not seen, so the statement counts as
// self-contained and moves, or lets blocks move, across that conditional line (seeds
// directive_after_comment_in_body.rc, directive_after_lone_line_feed_in_body.rc); and in a body
// left open, a line that starts a statement after such white space does not end the body, so a
// block moved there is read into it (seed block_after_lone_line_feed_read_into_open_body.rc).
// Checked only with KOLVRE_REORDER_STRICT set.
//
// Another: a parenthesis left open in a LANGUAGE, VERSION or CHARACTERISTICS value ends the
// value at a preprocessor line or at the end of the text, and that line (or a comment before
// the end) is taken into no statement, or into a resource's header without making it a
// barrier, so that the reorder may move other blocks into its conditional section (seeds
// directive_after_open_parenthesis.rc, comment_after_open_parenthesis.rc,
// block_moved_into_if0_after_open_parenthesis.rc). It too is checked only with
// KOLVRE_REORDER_STRICT set.
const bool kStrict = std::getenv("KOLVRE_REORDER_STRICT") != nullptr;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  require(testing::checkDiskRoundTrip(bytes), "disk round trip");
  require(testing::checkTokens(bytes), "tokens cover the bytes");
  const std::string text = fromDisk(bytes).text;
  require(testing::checkTokens(text), "tokens cover the text");
  if (!kStrict &&
      (testing::detail::parenthesisLeftOpen(bytes) || testing::detail::parenthesisLeftOpen(text)))
    return 0;
  // The raw bytes too: lone CR and LF, NUL and bytes of any value inside a line.
  require(testing::checkStatementsCover(bytes), "statements cover the bytes");
  require(testing::checkStatementsCover(text), "statements cover the text");
  for (const std::string* t : {&bytes, &text})
    if (kStrict || !testing::detail::directiveAfterOtherThanBlanks(*t))
      require(testing::checkSelfContained(*t), "self-contained statements");
  if (!kStrict &&
      (testing::detail::endsInsideStringOrComment(text) ||
       testing::detail::directiveAfterOtherThanBlanks(text) ||
       testing::detail::blockAfterOpenStatement(text) ||
       (testing::detail::hasOpenStatement(text) && testing::detail::oddSpaceAtLineStart(text))))
    return 0;
  require(testing::checkReorder(text, reorderScript(text)), "whole reorder");

  // Each listed block moved to its place alone.
  std::size_t moves = 0;
  for (const Statement& s : readStatements(text)) {
    if (!s.listed) continue;
    if (++moves > kMaxMoves) break;
    if (!kStrict && testing::detail::stretchAfterOpenStatement(text, s.begin)) continue;
    require(testing::checkPlaced(text, s.begin, placeBlock(text, s.begin)), "one block placed");
  }
  return 0;
}
