// Inline bodies as the bytes they compile to, the files resources name, and the hex view.
#include "resources/resource_data.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/document_commands.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

std::optional<InlineData> dataOf(const std::string& text) {
  SymbolTable symbols;
  readDefines(text, symbols);
  const auto statements = readStatements(text);
  for (const Statement& s : statements)
    if (s.kind == StatementKind::Resource) return inlineData(text, s, &symbols, {});
  return std::nullopt;
}

std::vector<std::uint8_t> bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> out;
  for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
  return out;
}

TEST(InlineData, WordsLongsStringsAndHexLines) {
  const auto data = dataOf(
      "#define SEVEN 7\r\nR RCDATA\r\n{ 1, 2, \"abc\", 0x0302L, -1, SEVEN + 1,\r\n"
      "  L\"\\xe9b\", '41 42' }\r\n");
  ASSERT_TRUE(data);
  EXPECT_EQ(data->problem, "");
  EXPECT_EQ(data->bytes, bytes({1,    0,    2, 0, 'a',  'b', 'c', 2, 3,    0,   0,
                                0xFF, 0xFF, 8, 0, 0xE9, 0,   'b', 0, 0x41, 0x42}));
}

TEST(InlineData, StopsAtAValueItCannotKnow) {
  const auto data = dataOf("R RCDATA\r\nBEGIN\r\n  1,\r\n  UNKNOWN, 2\r\nEND\r\n");
  ASSERT_TRUE(data);
  EXPECT_EQ(data->bytes, bytes({1, 0}));
  EXPECT_EQ(data->problem, "Riga 4: il valore di «UNKNOWN» non è noto.");
  EXPECT_FALSE(dataOf("R RCDATA \"r.bin\"\r\n"));
}

TEST(NamedFile, QuotedOrBareNamesFoundBesideTheScript) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.path() / "sub");
  dir.write("sub/Data.BIN", "12345");
  Document doc;
  loadDocument(doc, dir.write("a.rc",
                              "1 RCDATA \"sub\\\\data.bin\"\r\n2 24 DISCARDABLE x.manifest\r\n"
                              "3 RCDATA { 1 }\r\n4 ICON DISCARDABLE\r\n"
                              "5 ICON res\\a-b.ico // the old one\r\n"));
  const auto& statements = doc.statements();
  const auto first = namedFile(doc, statements[0]);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->written, "sub\\data.bin");
  EXPECT_EQ(first->size, 5u);
  const auto second = namedFile(doc, statements[1]);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->written, "x.manifest");
  EXPECT_FALSE(second->size);
  EXPECT_FALSE(namedFile(doc, statements[2]));
  // A memory option is no file's name; a comment after the name is none of it.
  EXPECT_FALSE(namedFile(doc, statements[3]));
  const auto fifth = namedFile(doc, statements[4]);
  ASSERT_TRUE(fifth);
  EXPECT_EQ(fifth->written, "res\\a-b.ico");
}

TEST(HexView, OffsetBytesAndCharactersPerSixteen) {
  std::vector<std::uint8_t> data;
  for (int i = 0; i < 17; ++i) data.push_back(static_cast<std::uint8_t>('A' + i));
  data[1] = 0x00;
  const auto lines = hexViewLines(data);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0],
            "00000000  41 00 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50  A.CDEFGHIJKLMNOP");
  EXPECT_EQ(lines[1], "00000010  51" + std::string(45, ' ') + "  Q");
  EXPECT_TRUE(hexViewLines({}).empty());
}

}  // namespace
}  // namespace kolvre
