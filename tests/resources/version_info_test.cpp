#include "resources/version_info.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "messages/error_record.h"
#include "support/refusal.h"
#include "syntax/symbols.h"

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

// One edit as a row: the script's text where it changes before and after ("" before: no
// change; a refusal's message where the edit is refused).
struct EditRow {
  const char* before;
  const char* after;
  const char* refusal = "";
};

// Applies `edit` to `text`; checks the change is exactly `row.before` -> `row.after` (or none,
// or the refusal) and that the result reads again.
void expectEdit(const std::string& text, const EditRow& row,
                const std::function<Edit(const std::string&, const VersionInfo&)>& edit) {
  SCOPED_TRACE(std::string(row.before) + " -> " + row.after);
  const VersionInfo info = readOnly(text);
  ASSERT_EQ(info.problem, "");
  if (*row.refusal) {
    EXPECT_EQ(refusalOf([&] { edit(text, info); }), row.refusal);
    return;
  }
  const Edit made = edit(text, info);
  if (!*row.before) {
    EXPECT_TRUE(made.splices.empty());
    return;
  }
  std::string expected = text;
  const std::size_t at = expected.find(row.before);
  ASSERT_NE(at, std::string::npos);
  expected.replace(at, std::string_view(row.before).size(), row.after);
  const std::string after = applySplices(text, made.splices);
  EXPECT_EQ(after, expected);
  EXPECT_EQ(readOnly(after).problem, "");
}

// A fixed field set from a typed text: only its own tokens change, written as the field was.
TEST(VersionInfoEditing, FixedFieldsKeepTheFormTheyWereWrittenIn) {
  const std::string text =
      "VS_VERSION_INFO VERSIONINFO\r\n"
      " FILEVERSION 1,0,0,1\r\n"
      " PRODUCTVERSION 1, 2, 0x03, 4 // product\r\n"
      " FILEFLAGSMASK 0x3fL\r\n"
      " FILEFLAGS VS_FF_PRERELEASE | VS_FF_DEBUG\r\n"
      " FILEOS VOS_NT_WINDOWS32\r\n"
      " FILETYPE 0X0001L\r\n"
      " FILESUBTYPE VFT2_UNKNOWN\r\n"
      "BEGIN\r\nEND\r\n";
  const struct {
    const char* keyword;
    const char* typed;
    EditRow row;
  } rows[] = {
      // Versions: each number that changes, in its base; commas and blanks as they stand.
      {"FILEVERSION", "2.0.0.1", {"1,0,0,1", "2,0,0,1"}},
      {"FILEVERSION", "1, 0, 0, 1", {"", ""}},
      {"FILEVERSION", "1.0.0.1", {"", ""}},
      {"FILEVERSION", "1,0,7,65535", {"1,0,0,1", "1,0,7,65535"}},
      {"PRODUCTVERSION", "1.2.10.4", {"0x03", "0x0a"}},
      {"PRODUCTVERSION", "5.2.3.4", {"1, 2, 0x03", "5, 2, 0x03"}},
      {"FILEVERSION",
       "1.2.3",
       {"", "",
        "FILEVERSION vuole quattro numeri da 0 a 65535 (1.0.0.1 "
        "o 1, 0, 0, 1): 1.2.3."}},
      {"FILEVERSION",
       "1.2.3.65536",
       {"", "",
        "FILEVERSION vuole quattro numeri da 0 a 65535 "
        "(1.0.0.1 o 1, 0, 0, 1): 1.2.3.65536."}},
      // Numbers in their base, case, width and suffix.
      {"FILEFLAGSMASK", "0x17", {"0x3fL", "0x17L"}},
      {"FILEFLAGSMASK", "63", {"", ""}},
      {"FILEFLAGSMASK", "VS_FFI_FILEFLAGSMASK", {"", ""}},
      {"FILETYPE", "VFT_DLL", {"0X0001L", "0X0002L"}},
      {"FILETYPE", "0x10", {"0X0001L", "0X0010L"}},
      // Names stay names: the ones written first, in their order, blanks kept.
      {"FILEFLAGS", "VS_FF_DEBUG|VS_FF_PRERELEASE", {"", ""}},
      {"FILEFLAGS", "3", {"", ""}},
      {"FILEFLAGS",
       "VS_FF_DEBUG | VS_FF_PRERELEASE | VS_FF_PATCHED",
       {"VS_FF_PRERELEASE | VS_FF_DEBUG", "VS_FF_PRERELEASE | VS_FF_DEBUG | VS_FF_PATCHED"}},
      {"FILEFLAGS", "0x1", {"VS_FF_PRERELEASE | VS_FF_DEBUG", "VS_FF_DEBUG"}},
      // No name gives 0 nor a bit beyond the flags: a number then.
      {"FILEFLAGS", "0", {"VS_FF_PRERELEASE | VS_FF_DEBUG", "0x0"}},
      {"FILEFLAGS", "0x41", {"VS_FF_PRERELEASE | VS_FF_DEBUG", "0x41"}},
      {"FILEOS", "VOS__WINDOWS32", {"VOS_NT_WINDOWS32", "VOS__WINDOWS32"}},
      {"FILEOS", "0x40001", {"VOS_NT_WINDOWS32", "VOS_NT | VOS__WINDOWS16"}},
      {"FILEOS", "0x40004L", {"", ""}},
      {"FILESUBTYPE", "0", {"", ""}},
      // A driver's subtype takes a name only beside a driver's type: here a number.
      {"FILESUBTYPE", "VFT2_DRV_SOUND", {"VFT2_UNKNOWN", "0x9"}},
      {"FILETYPE", "VFT_NOTHING | 1", {"", "", "Simbolo non definito: VFT_NOTHING."}},
      {"FILETYPE", "1 +", {"", "", "Valore non valido per FILETYPE: 1 +."}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.keyword) + " " + row.typed);
    expectEdit(text, row.row, [&](const std::string& script, const VersionInfo& info) {
      return setVersionField(script, info, info.fieldsNamed(row.keyword).at(0), row.typed, {});
    });
  }
  // A value with a stray byte in it (a lone CR and an @ that the next keyword touches) is no
  // value the editor writes over: read only, with the reason.
  expectEdit("V VERSIONINFO\r\n FILETYPE VFT_APP\r@FILESUBTYPE 0\r\nBEGIN\r\nEND\r\n",
             {"", "", "FILETYPE alla riga 2 non è scritto con soli numeri e nomi."},
             [](const std::string& script, const VersionInfo& info) {
               return setVersionField(script, info, 0, "7", {});
             });
  // A number that replaces what touched the keyword stands apart from it.
  expectEdit("V VERSIONINFO\r\n FILEVERSION~1,0,0,1\r\nBEGIN\r\nEND\r\n", {"~1,0,0,1", " 9,0,0,1"},
             [](const std::string& script, const VersionInfo& info) {
               return setVersionField(script, info, 0, "9.0.0.1", {});
             });
  // A driver's subtype by its name, where the type is a driver.
  std::string driver = text;
  driver.replace(driver.find("0X0001L"), 7, "VFT_DRV");
  expectEdit(driver, {"VFT2_UNKNOWN", "VFT2_DRV_SOUND"},
             [](const std::string& script, const VersionInfo& info) {
               return setVersionField(script, info, info.fieldsNamed("FILESUBTYPE").at(0), "9", {});
             });
}

// A version written with fewer numbers, names or an empty place: what can be mended is, the
// rest is refused with its reason; each field of a conditional is its own.
TEST(VersionInfoEditing, VersionsWrittenOtherwise) {
  const std::string text =
      "#define MAJOR 3\r\n"
      "V VERSIONINFO\r\n"
      " FILEVERSION 1,2\r\n"
      " PRODUCTVERSION MAJOR, 0, 0, 0\r\n"
      "#ifdef _DEBUG\r\n"
      " FILEFLAGS 0x1L\r\n"
      "#else\r\n"
      " FILEFLAGS 0x0L\r\n"
      "#endif\r\n"
      "BEGIN\r\nEND\r\n";
  const auto statements = readStatements(text);
  SymbolTable symbols;
  symbols.define("MAJOR", "3");
  const StringContext context{&symbols, false};
  const VersionInfo info = readVersionInfo(text, statements.at(1), context);
  ASSERT_EQ(info.problem, "");
  const auto set = [&](std::size_t field, std::string_view typed) {
    return applySplices(text, setVersionField(text, info, field, typed, context).splices);
  };
  std::string expected = text;
  expected.replace(expected.find("1,2\r\n"), 3, "1,2,5,6");
  EXPECT_EQ(set(0, "1.2.5.6"), expected);
  // The name keeps its place while its value is the one asked for.
  EXPECT_EQ(set(1, "3.0.0.0"), text);
  expected = text;
  expected.replace(expected.find("MAJOR, 0, 0, 0"), 14, "MAJOR, 1, 0, 0");
  EXPECT_EQ(set(1, "3.1.0.0"), expected);
  expected = text;
  expected.replace(expected.find("MAJOR, 0"), 5, "4");
  EXPECT_EQ(set(1, "4.0.0.0"), expected);
  ASSERT_EQ(info.fieldsNamed("FILEFLAGS"), (std::vector<std::size_t>{2, 3}));
  expected = text;
  expected.replace(expected.find("0x0L"), 4, "0x2L");
  EXPECT_EQ(set(3, "VS_FF_PRERELEASE"), expected);

  const std::string named =
      "V VERSIONINFO\r\n FILEVERSION VER_WORDS\r\n PRODUCTVERSION 1,,2,3\r\nBEGIN\r\nEND\r\n";
  const VersionInfo namedInfo = readOnly(named);
  EXPECT_EQ(namedInfo.fields[0].readOnly,
            "FILEVERSION alla riga 2 ha meno di quattro valori e un nome tra essi: si modifica "
            "dove il nome è definito.");
  EXPECT_EQ(namedInfo.fields[1].readOnly,
            "PRODUCTVERSION alla riga 3 non è scritto come quattro numeri.");
  EXPECT_EQ(refusalOf([&] { setVersionField(named, namedInfo, 0, "1.2.3.4", {}); }),
            namedInfo.fields[0].readOnly);
  // Set to what it is as written: nothing changes, even where nothing could.
  EXPECT_TRUE(setVersionField(named, namedInfo, 0, " VER_WORDS ", {}).splices.empty());
  EXPECT_TRUE(setVersionField(named, namedInfo, 1, "1,,2,3", {}).splices.empty());
}

TEST(VersionInfoEditing, ValuesAddedAfterTheCurrentOneAndDeleted) {
  const std::string text =
      "V VERSIONINFO\r\nBEGIN\r\n BLOCK \"StringFileInfo\"\r\n BEGIN\r\n"
      "  BLOCK \"040904b0\"\r\n  BEGIN\r\n"
      "\tVALUE \"A\",\t\"a\\0\"\r\n"
      "\tVALUE L\"B\", L\"b\" // wide\r\n"
      "  END\r\n"
      "  BLOCK \"041004b0\" { VALUE \"X\", \"x\" }\r\n"
      "  BLOCK \"040704b0\" {\r\n  }\r\n"
      " END\r\nEND\r\n";
  const auto insert = [](std::size_t block, std::optional<std::size_t> after, const char* key) {
    return [=](const std::string& script, const VersionInfo& info) {
      return insertVersionValue(script, info, block, after, key, "n", {});
    };
  };
  // After a value: its neighbour's indentation, blanks and L prefixes.
  expectEdit(text, {"\tVALUE L\"B\"", "\tVALUE \"N\",\t\"n\"\r\n\tVALUE L\"B\""},
             insert(0, 0, "N"));
  expectEdit(text, {"  END\r\n  BLOCK \"041", "\tVALUE L\"N\", L\"n\"\r\n  END\r\n  BLOCK \"041"},
             insert(0, 1, "N"));
  // Before the first.
  expectEdit(text, {"\tVALUE \"A\"", "\tVALUE \"N\",\t\"n\"\r\n\tVALUE \"A\""},
             insert(0, std::nullopt, "N"));
  // Beside a value that shares its line; into an empty block.
  expectEdit(text, {"\"x\" }", "\"x\"\r\n  VALUE \"N\", \"n\"\r\n }"}, insert(1, 0, "N"));
  expectEdit(text, {"{\r\n  }", "{\r\n      VALUE \"N\", \"n\"\r\n  }"},
             insert(2, std::nullopt, "N"));
  expectEdit(text, {"", "", "Il blocco 040904b0 ha già il valore A."}, insert(0, 1, "A"));

  const auto remove = [](std::size_t block, std::size_t value) {
    return [=](const std::string& script, const VersionInfo& info) {
      return deleteVersionValue(script, info, block, value);
    };
  };
  // Its whole line, its comment with it; or its tokens where it shares the line.
  expectEdit(text, {"\tVALUE L\"B\", L\"b\" // wide\r\n", ""}, remove(0, 1));
  expectEdit(text, {"{ VALUE \"X\", \"x\" }", "{ }"}, remove(1, 0));
}

// A language block copied from another, after it; Translation kept in step when asked, its
// pairs written like the ones it holds; a block renamed, and its pair with it.
TEST(VersionInfoEditing, LanguageBlocksAddedAndRenamedWithTheirTranslation) {
  const std::string text =
      "V VERSIONINFO\r\nBEGIN\r\n"
      "    BLOCK \"StringFileInfo\"\r\n    BEGIN\r\n"
      "        BLOCK \"040904b0\"\r\n        BEGIN\r\n"
      "            VALUE \"CompanyName\", \"ACME\\0\"\r\n"
      "            VALUE \"Build\", VER_BUILD\r\n"
      "        END\r\n"
      "    END\r\n"
      "    BLOCK \"VarFileInfo\"\r\n    BEGIN\r\n"
      "        VALUE \"Translation\", 0x409, 1200\r\n"
      "    END\r\nEND\r\n";
  const std::string block =
      "        BLOCK \"040904b0\"\r\n        BEGIN\r\n"
      "            VALUE \"CompanyName\", \"ACME\\0\"\r\n"
      "            VALUE \"Build\", VER_BUILD\r\n"
      "        END\r\n";
  const VersionInfo info = readOnly(text);
  ASSERT_EQ(info.problem, "");
  const auto add = [&](std::string_view name, bool empty, bool translation) {
    return applySplices(text,
                        addLanguageBlock(text, info, 0, name, empty, translation, {}).splices);
  };
  std::string copied = block;
  copied.replace(copied.find("040904b0"), 8, "041004b0");
  std::string expected = text;
  expected.insert(expected.find("    END\r\n    BLOCK \"Var"), copied);
  EXPECT_EQ(add("041004b0", false, false), expected);
  expected.replace(expected.find("0x409, 1200"), 11, "0x409, 1200, 0x410, 1200");
  EXPECT_EQ(add("041004b0", false, true), expected);
  const VersionInfo again = readOnly(expected);
  ASSERT_EQ(again.stringBlocks().size(), 2u);
  EXPECT_EQ(again.blocks[1].values[0].text->text, "ACME");
  // Empty values: each an empty text, a final "\0" kept.
  std::string emptied = copied;
  emptied.replace(emptied.find("\"ACME\\0\""), 8, "\"\\0\"");
  emptied.replace(emptied.find("VER_BUILD"), 9, "\"\"");
  expected = text;
  expected.insert(expected.find("    END\r\n    BLOCK \"Var"), emptied);
  EXPECT_EQ(add("041004b0", true, false), expected);
  EXPECT_EQ(refusalOf([&] { add("040904B0", false, false); }),
            "Il blocco 040904B0 c'è già in StringFileInfo.");
  EXPECT_EQ(refusalOf([&] { add("0410", false, false); }),
            "Nome di blocco non valido: 0410. Servono otto cifre esadecimali, lingua e codifica "
            "(040904b0).");
  EXPECT_TRUE(translationWouldChange(info, "041004b0"));
  EXPECT_FALSE(translationWouldChange(info, "040904b0"));

  const auto rename = [&](std::string_view name, bool translation) {
    return applySplices(text, renameVersionBlock(text, info, 0, name, translation, {}).splices);
  };
  expected = text;
  expected.replace(expected.find("\"040904b0\""), 10, "\"040704e4\"");
  EXPECT_EQ(rename("040704e4", false), expected);
  expected.replace(expected.find("0x409, 1200"), 11, "0x407, 1252");
  EXPECT_EQ(rename("040704e4", true), expected);
  EXPECT_TRUE(translationWouldChange(info, "040704e4", 0));
  EXPECT_FALSE(translationWouldChange(info, "040904b0", 0));
}

// Translation's pairs as the compiler reads them; one left odd does not read.
TEST(VersionInfoReading, TranslationPairsAndBlockNames) {
  EXPECT_EQ(blockLanguageAndCodePage("040904b0"),
            (std::pair<std::uint16_t, std::uint16_t>{0x409, 1200}));
  EXPECT_EQ(blockLanguageAndCodePage("040904B0x"), std::nullopt);
  EXPECT_EQ(blockLanguageAndCodePage("0409 4b0"), std::nullopt);
  const std::string text =
      "V VERSIONINFO\r\nBEGIN\r\n BLOCK \"VarFileInfo\"\r\n BEGIN\r\n"
      "  VALUE \"Translation\", 0x409, 1200, 0x0410, 0x4E4\r\n END\r\nEND\r\n";
  const auto pairs = translationPairs(readOnly(text));
  ASSERT_TRUE(pairs);
  EXPECT_EQ(*pairs,
            (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{0x409, 1200}, {0x410, 0x4E4}}));
  std::string odd = text;
  odd.replace(odd.find(", 0x4E4"), 7, "");
  EXPECT_FALSE(translationPairs(readOnly(odd)));
}

}  // namespace
}  // namespace kolvre
