#include "syntax/positions.h"

#include <gtest/gtest.h>

#include "resources/menus.h"
#include "resources/string_tables.h"
#include "syntax/statements.h"

namespace kolvre {
namespace {

TEST(Positions, CrLfLfAndALoneCrEachEndOneLine) {
  // a at 0, b at 3, c at 5, d at 7, the empty line at 10, e at 12.
  const std::string_view text = "a\r\nb\nc\rd\r\n\r\ne";
  const std::pair<std::size_t, std::size_t> lines[] = {
      {0, 1}, {1, 1}, {2, 1}, {3, 2},  {4, 2},  {5, 3},  {6, 3},
      {7, 4}, {8, 4}, {9, 4}, {10, 5}, {11, 5}, {12, 6}, {99, 6},
  };
  for (const auto& [offset, line] : lines) EXPECT_EQ(lineNumberAt(text, offset), line) << offset;
  EXPECT_EQ(lineStart(text, 1), 0u);
  EXPECT_EQ(lineStart(text, 2), 3u);
  EXPECT_EQ(lineStart(text, 3), 5u);
  EXPECT_EQ(lineStart(text, 4), 7u);
  EXPECT_EQ(lineStart(text, 5), 10u);
  EXPECT_EQ(lineStart(text, 6), 12u);
  EXPECT_EQ(lineStart(text, 7), text.size());
  EXPECT_EQ(lineStart(text, 0), text.size());
  EXPECT_EQ(lineEndAt(text, 3), 4u);
  EXPECT_EQ(lineEndAt(text, 12), text.size());
  EXPECT_EQ(lineNumberAt("", 0), 1u);
}

// Every reader names a line by the one rule: a menu and a string table after a lone LF say the
// same line for the same place (the string table counted CR LF only, the menu LF only).
TEST(Positions, ReadersAgreeOnALineAfterALoneLf) {
  const std::string text =
      "// one\n// two\r\nM MENU\r\n{\r\n MENUITEM \"x\"\r\n}\r\n"
      "STRINGTABLE\r\n{\r\n 1\r\n}\r\n";
  const std::vector<Statement> statements = readStatements(text);
  ASSERT_EQ(statements.size(), 3u);  // the two comments are one: // runs to a CR LF
  const Statement& menu = statements[1];
  const Statement& table = statements[2];
  ASSERT_EQ(menu.kind, StatementKind::Resource);
  ASSERT_EQ(table.kind, StatementKind::StringTable);
  EXPECT_EQ(readMenu(text, menu, nullptr, {}).problem,
            "Riga 5: manca l'id della voce dopo il testo.");
  const std::vector<StringTable> tables = readStringTables(text, statements, {}, {});
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(tables[0].problem, "ID senza testo alla riga 9.");
}

// The line ends and blank lines as the lexer ends lines: CR LF only.
TEST(Positions, CrLfLinesAndBlankLines) {
  const std::string_view text = "a\rb\n\r\r\nc\r\n";
  EXPECT_EQ(nextCrLf(text, 0), 5u);  // past a lone CR, a lone LF and a CR before the CR LF
  EXPECT_EQ(nextCrLf(text, 6), 8u);
  EXPECT_EQ(nextCrLf(text, 9), std::string_view::npos);  // from the LF of a CR LF
  EXPECT_EQ(nextCrLf("ab\r", 0), std::string_view::npos);
  EXPECT_EQ(nextCrLf("", 0), std::string_view::npos);
  EXPECT_TRUE(holdsCrLf(" \r\n "));
  EXPECT_FALSE(holdsCrLf(" \n\r "));
  // Blanks within a line: a lone CR or LF is one, a CR LF is none, nor a CR LF cut at `to`.
  EXPECT_TRUE(blanksWithinLine(" \t\n\r x", 0, 5));
  EXPECT_FALSE(blanksWithinLine(" \r\n ", 0, 4));
  EXPECT_FALSE(blanksWithinLine(" \r\n ", 0, 2));
  EXPECT_TRUE(blanksWithinLine("x", 0, 0));
  EXPECT_FALSE(blanksWithinLine(" x ", 0, 3));
  // A line of white space only, with its CR LF; a lone LF inside it is white space.
  const std::string_view gap = "  \r\n\t\n \r\nx\r\n \r\n";
  EXPECT_EQ(afterBlankLine(gap, 0), 4u);
  EXPECT_EQ(afterBlankLine(gap, 4), 9u);
  EXPECT_EQ(afterBlankLine(gap, 9), std::nullopt);  // holds x
  EXPECT_EQ(afterBlankLine(gap, 12), 15u);
  EXPECT_EQ(afterBlankLine("  ", 0), std::nullopt);  // no line end
  EXPECT_EQ(afterBlankLine("", 0), std::nullopt);
  // The first lines ends of a gap: fewer than asked for give the whole text.
  EXPECT_EQ(afterLineEnds("\r\n \r\n\r\n\r\n", 3), 7u);
  EXPECT_EQ(afterLineEnds("\r\n \n\r\n", 3), 6u);
  EXPECT_EQ(afterLineEnds(" \r\n", 0), 0u);
}

TEST(Positions, LineStartsOfOffsetsInIncreasingOrder) {
  const std::string_view text = "ab\r\ncd\nef\r\n\r\ngh";
  LineStarts starts(text);
  EXPECT_EQ(starts.of(0), 0u);
  EXPECT_EQ(starts.of(3), 0u);  // the LF of a CR LF still stands on the line it ends
  EXPECT_EQ(starts.of(4), 4u);  // asked after the LF: the CR LF across the last offset counts
  EXPECT_EQ(starts.of(8), 4u);  // past a lone LF
  EXPECT_EQ(starts.of(13), 13u);
  EXPECT_EQ(starts.of(14), 13u);
  // Backwards: on the last line found, or looked for again.
  EXPECT_EQ(starts.of(13), 13u);
  EXPECT_EQ(starts.of(5), 4u);
  EXPECT_EQ(starts.of(99), 13u);
  // Every offset in order, against the line start looked for backwards.
  LineStarts each(text);
  for (std::size_t at = 0; at <= text.size(); ++at)
    EXPECT_EQ(each.of(at), lineStartOf(text, at)) << at;
}

}  // namespace
}  // namespace kolvre
