#include "resources/version_info.h"

#include <gtest/gtest.h>

#include <functional>

#include "messages/error_record.h"
#include "support/refusal.h"

namespace kolvre {
namespace {

const std::string kVersion =
    "VS_VERSION_INFO VERSIONINFO\r\n"
    " FILEVERSION 1,0,0,1\r\n"
    " PRODUCTVERSION 1, 2, 3, 4\r\n"
    " FILEFLAGSMASK 0x3fL\r\n"
    "#ifdef _DEBUG\r\n"
    " FILEFLAGS 0x1L\r\n"
    "#else\r\n"
    " FILEFLAGS 0x0L\r\n"
    "#endif\r\n"
    " FILEOS VOS_NT_WINDOWS32\r\n"
    " FILETYPE 0x1L\r\n"
    " FILESUBTYPE 0x0L\r\n"
    "BEGIN\r\n"
    "    BLOCK \"StringFileInfo\"\r\n"
    "    BEGIN\r\n"
    "        BLOCK \"040904b0\"\r\n"
    "        BEGIN\r\n"
    "            VALUE \"CompanyName\", \"ACME \"\"Tools\"\"\"\r\n"
    "            VALUE \"FileVersion\", \"1.0.0.1\\0\"\r\n"
    "            VALUE \"Build\", VER_BUILD\r\n"
    "            MORE_VALUES\r\n"
    "        END\r\n"
    "        BLOCK \"041004b0\" { }\r\n"
    "    END\r\n"
    "    BLOCK \"VarFileInfo\"\r\n"
    "    BEGIN\r\n"
    "        VALUE \"Translation\", 0x409, 1200\r\n"
    "    END\r\n"
    "END\r\n";

VersionInfo readOnly(const std::string& text) {
  const auto statements = readStatements(text);
  return readVersionInfo(text, statements.at(0), {});
}

TEST(VersionInfoReading, FixedFieldsBlocksValuesAndTranslation) {
  const VersionInfo info = readOnly(kVersion);
  ASSERT_EQ(info.problem, "");
  ASSERT_EQ(info.fields.size(), 8u);
  EXPECT_EQ(info.fields[0].keyword, "FILEVERSION");
  EXPECT_EQ(info.fields[0].value, "1,0,0,1");
  EXPECT_EQ(info.fields[1].value, "1, 2, 3, 4");
  EXPECT_EQ(info.fields[4].value, "0x0L");
  EXPECT_EQ(info.fields[5].value, "VOS_NT_WINDOWS32");
  ASSERT_EQ(info.stringBlocks(), (std::vector<std::size_t>{0, 1}));
  const VersionBlock& block = info.blocks[0];
  EXPECT_EQ(block.name, "040904b0");
  ASSERT_EQ(block.values.size(), 3u);
  EXPECT_EQ(block.values[0].text->text, "ACME \"Tools\"");
  EXPECT_EQ(block.values[1].text->text, "1.0.0.1");
  EXPECT_FALSE(block.values[2].text);
  EXPECT_EQ(block.values[2].asWritten, "VER_BUILD");
  EXPECT_TRUE(info.blocks[1].values.empty());
  EXPECT_EQ(info.translation(), "0x409, 1200");
}

// A body that does not read gives its reason, word for word, and no blocks.
TEST(VersionInfoReading, MalformedBodiesSayWhy) {
  const struct {
    const char* text;
    const char* problem;
  } rows[] = {
      {"V VERSIONINFO\r\nBEGIN\r\n VALUE \"a\", \"b\"\r\nEND\r\n",
       "VALUE fuori da un blocco alla riga 3."},
      {"V VERSIONINFO\r\nBEGIN\r\n BLOCK \"x\"\r\n BEGIN\r\n END\r\n",
       "La risorsa non è chiusa da END o }."},
      {"V VERSIONINFO\r\nBEGIN\r\n , \r\nEND\r\n", "Riga inattesa alla riga 3."},
      {"V VERSIONINFO\r\nBEGIN\r\n BLOCK x\r\n BEGIN\r\n END\r\nEND\r\n",
       "BLOCK senza nome alla riga 3."},
      {"V VERSIONINFO\r\nBEGIN\r\n BLOCK \"x\" VALUE\r\nEND\r\n", "Manca BEGIN o { alla riga 3."},
      {"V VERSIONINFO\r\nBEGIN\r\n BLOCK \"x\"\r\n BEGIN\r\n  VALUE 1, \"b\"\r\n END\r\nEND\r\n",
       "VALUE senza nome alla riga 5."},
      {"V VERSIONINFO\r\nBEGIN\r\n BLOCK \"x\"\r\n BEGIN\r\n  VALUE \"a\", 'b'\r\n END\r\nEND\r\n",
       "Testo non valido alla riga 5."},
      {"V VERSIONINFO\r\nBEGIN\r\n BLOCK \"x\"\r\n BEGIN\r\n  VALUE \"a\", \"b\r\nc\"\r\n END\r\n"
       "END\r\n",
       "Testo non chiuso alla riga 5."},
  };
  for (const auto& row : rows) {
    const VersionInfo info = readOnly(row.text);
    EXPECT_EQ(info.problem, row.problem) << row.text;
    EXPECT_TRUE(info.blocks.empty()) << row.text;
  }
}

using testing::refusalOf;

TEST(VersionInfoEditing, SetsOneLiteralKeepsItsZeroAndAddsAMissingKey) {
  const VersionInfo info = readOnly(kVersion);
  const auto replaced = [&](std::size_t block, std::string_view key, std::string_view value) {
    return applySplices(kVersion, setVersionValue(kVersion, info, block, key, value, {}).splices);
  };
  std::string expected = kVersion;
  expected.replace(expected.find("\"1.0.0.1\\0\""), 11, "\"2.0\\0\"");
  EXPECT_EQ(replaced(0, "FileVersion", "2.0"), expected);
  EXPECT_EQ(readOnly(expected).blocks[0].values[1].text->text, "2.0");
  expected = kVersion;
  expected.replace(expected.find("VER_BUILD"), 9, "\"7\"");
  EXPECT_EQ(replaced(0, "Build", "7"), expected);
  expected = kVersion;
  expected.insert(expected.find("            MORE_VALUES"),
                  "            VALUE \"ProductName\", \"Kolvre \"\"X\"\"\"\r\n");
  EXPECT_EQ(replaced(0, "ProductName", "Kolvre \"X\""), expected);
  expected = kVersion;
  expected.insert(expected.find(" { }") + 2, "\r\n            VALUE \"Comments\", \"c\"\r\n");
  EXPECT_EQ(replaced(1, "Comments", "c"), expected);
  EXPECT_TRUE(
      setVersionValue(kVersion, info, 0, "CompanyName", "ACME \"Tools\"", {}).splices.empty());
  EXPECT_EQ(refusalOf([&] { setVersionValue(kVersion, info, 9, "A", "b", {}); }),
            "Blocco non trovato.");
  // A value written without a comma after its key takes one: else the two texts would be one.
  const std::string bare =
      "V VERSIONINFO\r\nBEGIN\r\n BLOCK \"S\"\r\n BEGIN\r\n  BLOCK \"B\"\r\n  BEGIN\r\n"
      "   VALUE \"A\" X\r\n  END\r\n END\r\nEND\r\n";
  const VersionInfo bareInfo = readOnly(bare);
  std::string set = applySplices(bare, setVersionValue(bare, bareInfo, 0, "A", "a", {}).splices);
  EXPECT_NE(set.find("VALUE \"A\", \"a\"\r\n"), std::string::npos) << set;
  set = applySplices(bare, setVersionValue(bare, bareInfo, 0, "C", "c", {}).splices);
  EXPECT_NE(set.find("VALUE \"C\", \"c\"\r\n"), std::string::npos) << set;
  // A comma inside a comment is none: the value still takes one.
  std::string commented = bare;
  commented.replace(commented.find(" X\r\n"), 4, " /* , */ X\r\n");
  set = applySplices(commented,
                     setVersionValue(commented, readOnly(commented), 0, "A", "a", {}).splices);
  EXPECT_NE(set.find("VALUE \"A\", /* , */ \"a\"\r\n"), std::string::npos) << set;
  EXPECT_EQ(readOnly(set).blocks[0].values[0].text->text, "a");
}

// Values read as the compilers read them across lines and comments: a comma carries a list on,
// a literal on the next line joins the one before (both compilers store "XY"), a wide literal
// stays wide; a preprocessor line between values and a brace inside a comment read nothing.
TEST(VersionInfoReading, ValuesOverLinesCommentsAndPreprocessorLines) {
  const std::string text =
      "V VERSIONINFO\r\n FILEVERSION 1, /* minor */ 2,\r\n   3, 4\r\n FILEOS 4 // }\r\n"
      "BEGIN // }\r\n"
      " BLOCK /* name */ \"StringFileInfo\"\r\n BEGIN\r\n  BLOCK \"040904b0\" { // x\r\n"
      "   VALUE \"A\", \"X\"\r\n      \"Y\"\r\n"
      "#if X\r\n"
      "   VALUE L\"W\", L\"wide\" /* } */\r\n"
      "#endif\r\n"
      "   VALUE \"K\"\n, \"lone\"\r\n"
      "  }\r\n END\r\n"
      " BLOCK \"VarFileInfo\"\r\n BEGIN\r\n  VALUE \"Translation\", 0x409,\r\n   1200\r\n END\r\n"
      "END\r\n";
  const VersionInfo info = readOnly(text);
  ASSERT_EQ(info.problem, "");
  ASSERT_EQ(info.fields.size(), 2u);
  EXPECT_EQ(info.fields[0].value, "1, /* minor */ 2,\r\n   3, 4");
  EXPECT_EQ(info.fields[1].value, "4");
  ASSERT_EQ(info.stringBlocks(), (std::vector<std::size_t>{0}));
  const std::vector<VersionValue>& values = info.blocks[0].values;
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].text->text, "XY");
  EXPECT_EQ(values[0].asWritten, "\"X\"\r\n      \"Y\"");
  EXPECT_EQ(values[1].key.text, "W");
  EXPECT_TRUE(values[1].text->wide);
  EXPECT_EQ(values[1].text->text, "wide");
  EXPECT_EQ(values[2].text->text, "lone");
  EXPECT_EQ(info.translation(), "0x409,\r\n   1200");
  // The wide value keeps its prefix; the joined one is written as one literal.
  std::string expected = text;
  expected.replace(expected.find("L\"wide\""), 7, "L\"new\"");
  EXPECT_EQ(applySplices(text, setVersionValue(text, info, 0, "W", "new", {}).splices), expected);
  expected = text;
  const std::string joined = "\"X\"\r\n      \"Y\"";
  expected.replace(expected.find(joined), joined.size(), "\"Z\"");
  EXPECT_EQ(applySplices(text, setVersionValue(text, info, 0, "A", "Z", {}).splices), expected);
}

// A value that an operator carries on from a new line is no VALUE line the editor reads (llvm-rc
// refuses it too); "Riga N" counts a lone CR or LF as a line end.
TEST(VersionInfoReading, WhatDoesNotReadNamesItsLine) {
  const struct {
    const char* text;
    const char* problem;
  } rows[] = {
      {"V VERSIONINFO\r\nBEGIN\r\n BLOCK \"x\"\r\n BEGIN\r\n  VALUE \"a\", 1\r\n + 2\r\n END\r\n"
       "END\r\n",
       "Riga inattesa alla riga 6."},
      {"V VERSIONINFO\r\nBEGIN\n VALUE \"a\", \"b\"\r\nEND\r\n",
       "VALUE fuori da un blocco alla riga 3."},
      {"V VERSIONINFO\r\nBEGIN\r BLOCK \"x\"\n BEGIN\r\n  VALUE 1\r\n END\r\nEND\r\n",
       "VALUE senza nome alla riga 5."},
  };
  for (const auto& row : rows) {
    const VersionInfo info = readOnly(row.text);
    EXPECT_EQ(info.problem, row.problem) << row.text;
    EXPECT_TRUE(info.blocks.empty()) << row.text;
  }
}

// A new key goes on the line after the last value when only a comment follows that value, and
// between the value and what follows it on its line otherwise.
TEST(VersionInfoEditing, ANewValueGoesAfterTheLastValuesLine) {
  const std::string text =
      "V VERSIONINFO\r\nBEGIN\r\n BLOCK \"S\"\r\n BEGIN\r\n  BLOCK \"B\"\r\n  BEGIN\r\n"
      "   VALUE \"A\", \"a\" /* one\r\n   */ VALUE \"C\", \"c\" // two\r\n  END\r\n END\r\nEND\r\n";
  const VersionInfo info = readOnly(text);
  ASSERT_EQ(info.blocks.at(0).values.size(), 2u);
  std::string expected = text;
  expected.insert(expected.find("  END"), "   VALUE \"N\", \"n\"\r\n");
  EXPECT_EQ(applySplices(text, setVersionValue(text, info, 0, "N", "n", {}).splices), expected);
  VersionInfo first = info;
  first.blocks[0].values.pop_back();  // as if "A" were the last
  expected = text;
  expected.insert(expected.find(" /* one"), "\r\n   VALUE \"N\", \"n\"\r\n");
  EXPECT_EQ(applySplices(text, setVersionValue(text, first, 0, "N", "n", {}).splices), expected);
}

// A last value cut short by a comma or an operator would take in a line put after it: no value
// is added there.
TEST(VersionInfoEditing, NoValueGoesAfterOneCutShortByAComma) {
  const std::string text =
      "V VERSIONINFO\r\nBEGIN\r\n BLOCK \"VarFileInfo\"\r\n BEGIN\r\n"
      "  VALUE \"Translation\", 0x409, 1200,\n END\r\nEND\r\n";
  const std::string withOperator =
      "V VERSIONINFO\r\nBEGIN\r\n BLOCK \"B\"\r\n BEGIN\r\n"
      "  VALUE \"A\", 1 |\r\n END\r\nEND\r\n";
  EXPECT_THROW(setVersionValue(withOperator, readOnly(withOperator), 0, "N", "n", {}), Refusal);
  const std::string withParenthesis =
      "V VERSIONINFO\r\nBEGIN\r\n BLOCK \"B\"\r\n BEGIN\r\n"
      "  VALUE \"A\", (1\r\n END\r\nEND\r\n";
  EXPECT_THROW(setVersionValue(withParenthesis, readOnly(withParenthesis), 0, "N", "n", {}),
               Refusal);
  const VersionInfo info = readOnly(text);
  ASSERT_EQ(info.blocks.at(0).values.size(), 1u);
  try {
    setVersionValue(text, info, 0, "N", "n", {});
    ADD_FAILURE() << "added after a value cut short";
  } catch (const Refusal& refusal) {
    EXPECT_EQ(std::string(refusal.what()),
              "Il VALUE della riga 5 termina con una virgola o un operatore: un valore aggiunto "
              "dopo ne farebbe parte.");
  }
  // Setting the value itself still works.
  EXPECT_FALSE(setVersionValue(text, info, 0, "Translation", "x", {}).splices.empty());
}

}  // namespace
}  // namespace kolvre
