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

}  // namespace
}  // namespace kolvre
