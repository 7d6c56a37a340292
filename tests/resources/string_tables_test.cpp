#include "resources/string_tables.h"

#include <gtest/gtest.h>

#include <functional>

#include "messages/error_record.h"
#include "support/refusal.h"

namespace kolvre {
namespace {

std::vector<StringTable> tablesOf(const std::string& text, const SymbolTable* symbols = nullptr,
                                  const std::vector<std::string>& languages = {}) {
  return readStringTables(text, readStatements(text), languages, {symbols, false});
}

StringTable onlyTable(const std::string& text, const SymbolTable* symbols = nullptr) {
  const auto tables = tablesOf(text, symbols);
  EXPECT_EQ(tables.size(), 1u);
  return tables.empty() ? StringTable{} : tables[0];
}

std::string applied(const std::string& text, const Edit& edit) {
  return applySplices(text, edit.splices);
}

TEST(StringTableReading, IdsInEveryFormAndTextsAsTheCompilerStoresThem) {
  SymbolTable symbols;
  symbols.define("IDS_BASE", "100");
  const std::string text =
      "#define X 1\r\nSTRINGTABLE DISCARDABLE LANGUAGE 9, 1\r\nBEGIN\r\n"
      "  1, \"one\"\r\n"
      "  IDS_BASE + 2 \"a\"\"b\\tc\\\\d\\101\"  // a comment\r\n"
      "  /* before */ 0x10, L\"wide\" \"more\"\r\n"
      "#ifdef X\r\n"
      "  IDS_UNKNOWN,\r\n\"next line\"\r\n"
      "#endif\r\n"
      "  -1 \"\"\r\nEND\r\n";
  const StringTable table = onlyTable(text, &symbols);
  ASSERT_EQ(table.problem, "");
  ASSERT_EQ(table.entries.size(), 5u);
  const auto& e = table.entries;
  EXPECT_EQ(e[0].id, "1");
  EXPECT_EQ(e[0].value, 1);
  EXPECT_EQ(e[1].id, "IDS_BASE + 2");
  EXPECT_EQ(e[1].value, 102);
  EXPECT_EQ(e[1].text.text, "a\"b\tc\\dA");
  EXPECT_EQ(textAsWritten(text, e[1].text), "a\"\"b\\tc\\\\d\\101");
  EXPECT_EQ(e[2].value, 16);
  EXPECT_TRUE(e[2].text.wide);
  EXPECT_EQ(e[2].text.text, "widemore");
  EXPECT_EQ(e[2].text.of(text), "L\"wide\" \"more\"");
  EXPECT_EQ(e[3].value, std::nullopt);
  EXPECT_EQ(e[3].text.text, "next line");
  EXPECT_EQ(e[4].value, 0xFFFF);
}

TEST(StringTableReading, MalformedBodiesGiveAReasonAndNoEntries) {
  const struct {
    const char* text;
    const char* problem;
  } rows[] = {
      {"STRINGTABLE\r\nBEGIN\r\n 1 \"a\"\r\n 2\r\nEND\r\n", "ID senza testo alla riga 4."},
      {"STRINGTABLE\r\n{\r\n \"a\"\r\n}\r\n", "Testo senza ID alla riga 3."},
      {"STRINGTABLE\r\n{\r\n 1 'a'\r\n}\r\n", "ID senza testo alla riga 3."},
      {"STRINGTABLE\r\n{\r\n 1 \"a\r\nb\"\r\n}\r\n", "Testo non chiuso alla riga 3."},
      {"STRINGTABLE\r\n{\r\n 1 \"a\"\r\n", "La tabella delle stringhe non è chiusa da END o }."},
  };
  for (const auto& row : rows) {
    const StringTable table = onlyTable(row.text);
    EXPECT_EQ(table.problem, row.problem) << row.text;
    EXPECT_TRUE(table.entries.empty()) << row.text;
  }
}

// The entries as the compilers read them wherever comments, line ends and preprocessor lines
// stand between and inside them (both compilers take `2` and `"next"` on two lines as one entry).
TEST(StringTableReading, CommentsLineEndsAndPreprocessorLinesAmongTheEntries) {
  const std::string text =
      "STRINGTABLE\r\nBEGIN // x }\r\n"
      "  1, /* x */ \"a\"\r\n"
      "  2\r\n  \"next\" /* } */\r\n"
      "#if X\r\n"
      "  3 L\"w\" \"ide\", 4 \"d\"\r\n"
      "#endif\r\n"
      "  5 \"y\"\n 6 \"z\"\r 7 \"c\" // }\r\n"
      "  , 8 \"e\"\r\n"
      "END\r\n";
  const StringTable table = onlyTable(text);
  ASSERT_EQ(table.problem, "");
  std::vector<std::pair<std::string, std::string>> read;
  for (const StringEntry& e : table.entries) read.emplace_back(e.id, e.text.text);
  EXPECT_EQ(read, (std::vector<std::pair<std::string, std::string>>{{"1", "a"},
                                                                    {"2", "next"},
                                                                    {"3", "wide"},
                                                                    {"4", "d"},
                                                                    {"5", "y"},
                                                                    {"6", "z"},
                                                                    {"7", "c"},
                                                                    {"8", "e"}}));
  EXPECT_TRUE(table.entries[2].text.wide);
  EXPECT_EQ(table.entries[2].text.of(text), "L\"w\" \"ide\"");
  EXPECT_FALSE(table.entries[3].text.wide);
  EXPECT_EQ(text.substr(table.bodyBegin - 5, 5), "BEGIN");
}

// "Riga N" counts CR LF, a lone LF and a lone CR as one line end each; a preprocessor line
// between an ID and its text leaves the ID without one.
TEST(StringTableReading, ProblemsNameTheLineAsTheCompilersCountIt) {
  const struct {
    const char* text;
    const char* problem;
  } rows[] = {
      {"STRINGTABLE\r\n{\n 1 \"a\"\r 2\r\n}\r\n", "ID senza testo alla riga 4."},
      {"STRINGTABLE\r\n{\r \"a\"\n 1 \"b\"\r\n}\r\n", "Testo senza ID alla riga 3."},
      {"STRINGTABLE\r\n{\r\n 1\r\n#if X\r\n \"a\"\r\n#endif\r\n}\r\n",
       "ID senza testo alla riga 3."},
      {"STRINGTABLE\r\n{\r\n 1 \"a\" { 2 \"b\" }\r\n}\r\n", "ID senza testo alla riga 3."},
  };
  for (const auto& row : rows) {
    const StringTable table = onlyTable(row.text);
    EXPECT_EQ(table.problem, row.problem) << row.text;
    EXPECT_TRUE(table.entries.empty()) << row.text;
  }
}

using testing::refusalOf;

TEST(StringTableEditing, RefusalsSayWhy) {
  const std::string text = "STRINGTABLE\r\n{\r\n 1 \"a\" # 2 \"b\"\r\n}\r\n";
  const auto tables = tablesOf(text);
  ASSERT_EQ(tables[0].entries.size(), 2u);
  EXPECT_EQ(refusalOf([&] { setStringText(text, tables[0], 0, "ж", {}); }),
            "Il carattere ж non esiste nella code page 1252 dello script.");
  EXPECT_EQ(refusalOf([&] { setStringText(text, tables[0], 0, "\xFF", {}); }),
            "Il testo non è UTF-8 valido.");
  EXPECT_EQ(refusalOf([&] { insertString(text, tables, 0, 0, "A, B", "x", {}); }),
            "ID non valido: A, B.");
  // The "#" after the first row would begin its line.
  EXPECT_EQ(refusalOf([&] { deleteString(text, tables[0], 0); }),
            "Impossibile eliminare la stringa 1: il resto della sua riga diventerebbe una "
            "direttiva.");
  // A table that does not read refuses every edit with its reason.
  const std::string open = "STRINGTABLE\r\n{\r\n \"a\"\r\n}\r\n";
  EXPECT_EQ(refusalOf([&] { insertString(open, tablesOf(open), 0, std::nullopt, "1", "x", {}); }),
            "Testo senza ID alla riga 3.");
}

TEST(StringTableEditing, SettingATextRewritesOnlyItsLiteralWithTheEscapesBothCompilersRead) {
  const std::string text = "STRINGTABLE\r\n{\r\n  1, L\"old\"   // keep\r\n  2, \"two\"\r\n}\r\n";
  const StringTable table = onlyTable(text);
  const std::string tricky =
      "say \"hi\"\tC:\\dir\nnext\x01"
      "7";
  const Edit edit = setStringText(text, table, 0, tricky, {});
  EXPECT_EQ(edit.label, "Modifica stringa");
  ASSERT_EQ(edit.splices.size(), 1u);
  const std::string after = applied(text, edit);
  EXPECT_EQ(after,
            "STRINGTABLE\r\n{\r\n  1, L\"say \"\"hi\"\"\\tC:\\\\dir\\nnext\\0017\"   // keep\r\n"
            "  2, \"two\"\r\n}\r\n");
  EXPECT_EQ(onlyTable(after).entries[0].text.text, tricky);
  // The same text again changes nothing, however it was written.
  EXPECT_TRUE(setStringText(after, onlyTable(after), 0, tricky, {}).splices.empty());
}

TEST(StringTableEditing, CharactersTheCodePageLacksAreRefused) {
  const std::string text = "STRINGTABLE\r\n{\r\n  1, \"a\"\r\n}\r\n";
  const StringTable table = onlyTable(text);
  EXPECT_EQ(applied(text, setStringText(text, table, 0, "caffè", {})),
            "STRINGTABLE\r\n{\r\n  1, \"caff\xE8\"\r\n}\r\n");
  EXPECT_THROW(setStringText(text, table, 0, "ж", {}), Refusal);
  const std::string utf8 = "#pragma code_page(65001)\r\n" + text;
  EXPECT_EQ(onlyTable(applied(utf8, setStringText(utf8, onlyTable(utf8), 0, "ж", {})))
                .entries[0]
                .text.text,
            "ж");
}

TEST(StringTableEditing, InsertAndDeleteWholeLinesSpacedLikeTheNeighbours) {
  const std::string text =
      "STRINGTABLE\r\nBEGIN\r\n\tIDS_A,\t\t\"a\"\r\n\tIDS_B,\t\t\"b\" // b\r\nEND\r\n";
  const auto tables = tablesOf(text);
  const Edit inserted = insertString(text, tables, 0, 0, "IDS_C", "c", {});
  EXPECT_EQ(inserted.label, "Nuova stringa");
  EXPECT_EQ(applied(text, inserted),
            "STRINGTABLE\r\nBEGIN\r\n\tIDS_A,\t\t\"a\"\r\n\tIDS_C,\t\t\"c\"\r\n"
            "\tIDS_B,\t\t\"b\" // b\r\nEND\r\n");
  EXPECT_EQ(applied(text, insertString(text, tables, 0, std::nullopt, "7", "", {})),
            "STRINGTABLE\r\nBEGIN\r\n\t7,\t\t\"\"\r\n\tIDS_A,\t\t\"a\"\r\n"
            "\tIDS_B,\t\t\"b\" // b\r\nEND\r\n");
  EXPECT_EQ(applied(text, deleteString(text, tables[0], 1)),
            "STRINGTABLE\r\nBEGIN\r\n\tIDS_A,\t\t\"a\"\r\nEND\r\n");
  // An empty table takes its first row after the line that opens it.
  const std::string empty = "STRINGTABLE\r\n{\r\n}\r\n";
  EXPECT_EQ(applied(empty, insertString(empty, tablesOf(empty), 0, std::nullopt, "1", "x", {})),
            "STRINGTABLE\r\n{\r\n  1, \"x\"\r\n}\r\n");
  // Rows that share a line with the body's ends.
  const std::string packed = "STRINGTABLE { 1 \"a\" 2 \"b\" }\r\n";
  EXPECT_EQ(applied(packed, deleteString(packed, tablesOf(packed)[0], 0)),
            "STRINGTABLE { 2 \"b\" }\r\n");
  EXPECT_EQ(tablesOf(applied(packed, insertString(packed, tablesOf(packed), 0, 1, "3", "c", {})))[0]
                .entries.size(),
            3u);
}

TEST(StringTableEditing, AnIdHeldInTheSameLanguageIsRefusedAnotherLanguageMayHoldIt) {
  SymbolTable symbols;
  symbols.define("IDS_A", "5");
  const std::string text =
      "STRINGTABLE\r\n{\r\n  IDS_A \"a\"\r\n}\r\nSTRINGTABLE\r\n{\r\n  6 \"b\"\r\n}\r\n"
      "STRINGTABLE\r\n{\r\n  7 \"c\"\r\n}\r\n";
  const auto statements = readStatements(text);
  std::vector<std::string> languages(statements.size(), "it");
  languages.back() = "de";  // the third table
  const auto tables = readStringTables(text, statements, languages, {&symbols, false});
  ASSERT_EQ(tables.size(), 3u);
  ASSERT_EQ(tables[2].language, "de");
  try {
    insertString(text, tables, 1, 0, "5", "x", {&symbols, false});
    ADD_FAILURE() << "5 is IDS_A's value";
  } catch (const Refusal& refusal) {
    EXPECT_STREQ(refusal.what(),
                 "L'ID 5 è già in una tabella delle stringhe della stessa lingua (riga 3).");
  }
  EXPECT_THROW(insertString(text, tables, 0, 0, "6", "x", {&symbols, false}), Refusal);
  EXPECT_EQ(insertString(text, tables, 2, 0, "IDS_A", "x", {&symbols, false}).splices.size(), 1u);
  for (const char* bad : {"", "END", "\"x\"", "A, B"})
    EXPECT_THROW(insertString(text, tables, 2, 0, bad, "x", {}), Refusal) << bad;
}

// Where a row's line goes on with a comment, or the comment goes on past the line end, a new
// row goes on the next line or right after the row; a row whose text stands on the line after
// its ID goes with both lines.
TEST(StringTableEditing, NewAndRemovedRowsAroundCommentsAndSplitRows) {
  const std::string text =
      "STRINGTABLE\r\n{ /* open\r\n */\r\n"
      "  1, \"a\" // one\r\n"
      "  2, \"b\" /* two\r\n  */ 3, \"c\"\r\n"
      "  4\r\n    \"d\"\r\n"
      "}\r\n";
  const auto tables = tablesOf(text);
  ASSERT_EQ(tables[0].entries.size(), 4u);
  EXPECT_EQ(applied(text, insertString(text, tables, 0, 0, "9", "x", {})),
            "STRINGTABLE\r\n{ /* open\r\n */\r\n  1, \"a\" // one\r\n  9, \"x\"\r\n"
            "  2, \"b\" /* two\r\n  */ 3, \"c\"\r\n  4\r\n    \"d\"\r\n}\r\n");
  EXPECT_EQ(applied(text, insertString(text, tables, 0, 1, "9", "x", {})),
            "STRINGTABLE\r\n{ /* open\r\n */\r\n  1, \"a\" // one\r\n  2, \"b\"\r\n  9, \"x\" "
            "/* two\r\n  */ 3, \"c\"\r\n  4\r\n    \"d\"\r\n}\r\n");
  EXPECT_EQ(applied(text, deleteString(text, tables[0], 3)),
            "STRINGTABLE\r\n{ /* open\r\n */\r\n  1, \"a\" // one\r\n"
            "  2, \"b\" /* two\r\n  */ 3, \"c\"\r\n}\r\n");
  EXPECT_EQ(applied(text, deleteString(text, tables[0], 2)),
            "STRINGTABLE\r\n{ /* open\r\n */\r\n  1, \"a\" // one\r\n"
            "  2, \"b\" /* two\r\n  */ \r\n  4\r\n    \"d\"\r\n}\r\n");
  // The opener's comment goes on past its line: the first row goes right after the opener.
  const std::string lead = "STRINGTABLE\r\n{ /* a\r\n b */ 1 \"a\"\r\n}\r\n";
  EXPECT_EQ(applied(lead, insertString(lead, tablesOf(lead), 0, std::nullopt, "0", "z", {})),
            "STRINGTABLE\r\n{\r\n  0 \"z\"\r\n /* a\r\n b */ 1 \"a\"\r\n}\r\n");
}

}  // namespace
}  // namespace kolvre
