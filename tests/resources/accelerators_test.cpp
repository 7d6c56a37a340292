// The accelerator reader: rows of a table, their keys as shown, and the reasons a body does not
// read.
#include "resources/accelerators.h"

#include <gtest/gtest.h>

#include <string>

#include "syntax/statements.h"

namespace kolvre {
namespace {

AcceleratorReading tableOf(const std::string& body) {
  const std::string text =
      "#define ID_COPY 100\r\n#define MY_KEY VK_TAB\r\nA ACCELERATORS\r\n"
      "BEGIN\r\n" +
      body + "END\r\n";
  SymbolTable symbols;
  readDefines(text, symbols);
  for (const Statement& s : readStatements(text))
    if (s.kind == StatementKind::Resource) return readAccelerators(text, s, &symbols, {});
  return {};
}

TEST(AcceleratorReader, KeysAreNamedWithTheirModifiers) {
  const struct {
    std::string_view row;
    std::string_view label;
    std::string_view options;
  } cases[] = {
      {"\"^C\", ID_COPY", "Ctrl+C", ""},
      {"\"^x\", 1", "Ctrl+X", ""},
      {"VK_F5, 1, VIRTKEY, CONTROL, SHIFT", "Ctrl+Maiusc+F5", "VIRTKEY SHIFT CONTROL"},
      {"VK_F24, 1, VIRTKEY, ALT, NOINVERT", "Alt+F24", "VIRTKEY NOINVERT ALT"},
      {"\"a\", 1", "a", ""},
      {"\"a\", 1, ASCII, ALT", "Alt+a", "ASCII ALT"},
      {"\"N\", 1, VIRTKEY, CONTROL", "Ctrl+N", "VIRTKEY CONTROL"},
      {"65, 1, VIRTKEY", "A", "VIRTKEY"},
      {"97, 1", "a", ""},
      {"0x2E, 1, VIRTKEY", "Canc", "VIRTKEY"},
      {"VK_NEXT, 1, VIRTKEY", "Pag giù", "VIRTKEY"},
      {"VK_ADD, 1, VIRTKEY", "Num +", "VIRTKEY"},
      {"MY_KEY, 1, VIRTKEY", "Tab", "VIRTKEY"},
      {"\" \", 1", "Spazio", ""},
      {"0xBA, 1, VIRTKEY", "Tasto 0xBA", "VIRTKEY"},
      {"VK_UNKNOWN, 1, VIRTKEY", "VK_UNKNOWN", "VIRTKEY"},
  };
  for (const auto& c : cases) {
    const AcceleratorReading table = tableOf(std::string(c.row) + "\r\n");
    ASSERT_EQ(table.problem, "") << c.row;
    ASSERT_EQ(table.rows.size(), 1u) << c.row;
    EXPECT_EQ(table.rows[0].label, c.label) << c.row;
    EXPECT_EQ(acceleratorOptionWords(table.rows[0].options), c.options) << c.row;
  }
}

TEST(AcceleratorReader, RowsKeepTheirIdsAsWritten) {
  const AcceleratorReading table =
      tableOf("  \"^C\", ID_COPY // copia\r\n#if 0\r\n  VK_F1, ID_HELP + 1, VIRTKEY\r\n#endif\r\n");
  ASSERT_EQ(table.rows.size(), 2u);
  EXPECT_EQ(table.rows[0].key, "\"^C\"");
  EXPECT_EQ(table.rows[0].idValue, 100u);
  EXPECT_EQ(table.rows[1].id, "ID_HELP + 1");
  EXPECT_FALSE(table.rows[1].idValue);
}

TEST(AcceleratorReader, ABodyThatDoesNotReadGivesTheLineAndNoRows) {
  const struct {
    std::string_view row;
    std::string_view reason;
  } cases[] = {
      {"\"ab\", 1", "Riga 6: il tasto \"ab\" non è un solo carattere."},
      {"VK_F1 1", "Riga 6: manca la virgola dopo il tasto VK_F1."},
      {"VK_F1, , VIRTKEY", "Riga 6: manca l'id dopo il tasto VK_F1."},
      {"VK_F1, 1, VIRTKEY, CTRL", "Riga 6: opzione sconosciuta «CTRL»."},
      {"*, 1", "Riga 6: «*» non è il tasto di un acceleratore."},
  };
  for (const auto& c : cases) {
    const AcceleratorReading table = tableOf("\"^A\", 1\r\n" + std::string(c.row) + "\r\n");
    EXPECT_TRUE(table.rows.empty()) << c.row;
    EXPECT_EQ(table.problem, c.reason) << c.row;
  }
}

}  // namespace
}  // namespace kolvre
