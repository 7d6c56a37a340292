// Fuzzes reading a file's bytes as tokens and statements, the whole reorder and the move of
// one block. Any broken rule stops the run with the rule's description on standard error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/reorder.h"
#include "document/script_file.h"
#include "support/reorder_invariants.h"
#include "syntax/statements.h"

#include "fuzz_check.h"

namespace {

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("reorder", violation, rule);
}

// Bounds the moves tried on one input.
constexpr std::size_t kMaxMoves = 16;

// The rules hold for every text, statements left open included. The seeds in seeds/reorder/
// named after a case keep texts on which they once broke:
//  - a block whose file name is a string left open at the end of the text that a backslash
//    continues, or whose last line ends in a block comment left open, stands fast, so that
//    nothing is read into that string or comment (open_string_file_name.rc,
//    open_comment_after_block.rc); a string left open without that backslash ends with its line
//    and may move (and a block may end up last with it: string_closed_by_line_moved_last.rc);
//  - a statement left open ends where the next statement at a line start begins, and that block
//    stands fast: neither the whole reorder nor the move of one block takes it away, puts another
//    block there (a manifest, 24, whose type is no keyword, would be read into the open
//    statement) or lets comment lines above a block fall into it (block_after_open_statement.rc,
//    manifest_moved_after_open_statement.rc, comment_read_into_open_body.rc);
//  - inside a body, a preprocessor line whose '#' follows a comment, or white space other than
//    blanks and tabs (a lone CR or LF), is seen: the statement is not self-contained, and no
//    block moves across that conditional line; in a body left open, a line that starts a
//    statement after such white space ends the body (directive_after_comment_in_body.rc,
//    directive_after_comment_over_lines_in_body.rc, directive_after_lone_line_feed_in_body.rc,
//    block_after_lone_line_feed_read_into_open_body.rc);
//  - a parenthesis left open in a LANGUAGE, VERSION or CHARACTERISTICS value leaves its
//    statement open: a preprocessor line or a comment after it is a statement of its own, and
//    no block moves into a conditional section past it (directive_after_open_parenthesis.rc,
//    comment_after_open_parenthesis.rc, block_moved_into_if0_after_open_parenthesis.rc).

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  require(testing::checkDiskRoundTrip(bytes), "disk round trip");
  require(testing::checkTokens(bytes), "tokens cover the bytes");
  const std::string text = fromDisk(bytes).text;
  require(testing::checkTokens(text), "tokens cover the text");
  // The raw bytes too: lone CR and LF, NUL and bytes of any value inside a line.
  require(testing::checkStatementsCover(bytes), "statements cover the bytes");
  require(testing::checkStatementsCover(text), "statements cover the text");
  require(testing::checkSelfContained(bytes), "self-contained statements");
  require(testing::checkSelfContained(text), "self-contained statements");
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
