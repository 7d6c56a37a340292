#include "document/scanner.h"

#include <gtest/gtest.h>

#include <optional>

#include "document/resource_types.h"

namespace kolvre {
namespace {

std::vector<std::string> listed(std::string_view text) {
  std::vector<std::string> out;
  for (const IndexEntry& e : ARESOURCES(text)) out.push_back(e.name + " " + std::string(e.code()));
  return out;
}

using V = std::vector<std::string>;

TEST(TypeTable, MapsCodesToKeywordsAndNothingElse) {
  EXPECT_EQ(TIPORIS("24"), "24");
  EXPECT_EQ(TIPORIS("VI"), "VERSIONINFO");
  EXPECT_EQ(TIPORIS("B"), "BITMAP");
  EXPECT_EQ(TIPORIS("C"), "CURSOR");
  EXPECT_EQ(TIPORIS("D"), "DIALOG");
  EXPECT_EQ(TIPORIS("I"), "ICON");
  EXPECT_EQ(TIPORIS("DIALOG"), std::nullopt);
  EXPECT_EQ(TIPORIS(""), std::nullopt);
}

TEST(Scanner, EmptyTextGivesEmptyIndex) {
  EXPECT_TRUE(ARESOURCES("").empty());
}

TEST(Scanner, KeywordIsACaseSensitivePrefixTest) {
  EXPECT_EQ(listed("A DIALOGEX 0, 0, 1, 1\r\nB 240\r\nC dialog\r\nD ICONS\r\nE MENU"),
            (V{"A D", "B 24", "D I"}));
}

TEST(Scanner, IndentedAndTabbedLinesAreSkipped) {
  EXPECT_EQ(listed(" A DIALOG\r\n\tB DIALOG\r\n\r\nC DIALOG"), (V{"C D"}));
}

TEST(Scanner, HeadersAlignedInColumnsAreFoundWithTheirNames) {
  // Any run of blanks and tabs may stand between the name and the keyword.
  const std::string text =
      "IDD_ABOUTBOX    DIALOGEX 0, 0, 170, 62\r\nB\tICON\r\nC \t BITMAP\r\nD CURSOR";
  const auto lines = scanHeaderLines(text);
  ASSERT_EQ(lines.size(), 4u);
  for (const HeaderLine& h : lines) EXPECT_TRUE(h.locatable) << h.name;
  EXPECT_EQ(lines[0].name, "IDD_ABOUTBOX");
  EXPECT_EQ(lines[1].name, "B");
  EXPECT_EQ(lines[2].name, "C");
  EXPECT_EQ(lines[2].offset, text.find("C "));
}

TEST(Scanner, OnlyCrLfEndsALine) {
  // A lone LF stays inside the line; the text after it is not a line of its own.
  EXPECT_EQ(listed("A DIALOG\nB ICON\r\nC ICON"), (V{"A D", "C I"}));
}

TEST(Scanner, LastLineWithoutLineEndIsScanned) {
  EXPECT_EQ(listed("x\r\nLAST ICON"), (V{"LAST I"}));
}

TEST(Scanner, PreprocessorLineWithKeywordPrefixIsIndexed) {
  EXPECT_EQ(listed("#define DIALOG_OK 1"), (V{"#define D"}));
}

TEST(Scanner, OnlyALineStartStartsAHeaderHoweverLongTheLineBefore) {
  const std::string pad(kMaxScanLine, 'x');
  struct Case {
    std::string text;
    V listed;
  };
  const Case cases[] = {
      // Text at byte 1024 of a long line, or anywhere further on, is no header.
      {pad + "NAME ICON\r\nX BITMAP", {"X B"}},
      {pad + pad + "NAME ICON", {}},
      {"A DIALOG\r\nBEGIN\r\n LTEXT \"" + pad + "Y ICON\"\r\nEND", {"A D"}},
      // A piece boundary inside a word does not cut a name out of it.
      {std::string(kMaxScanLine - 1, 'x') + "DD_LONG ICON", {}},
      // A long header line is one header, read from its start.
      {"A ICON " + pad + "B ICON\r\nC ICON", {"A I", "C I"}},
      // The name, the blanks and the keyword must lie within the first 1024 bytes of the line.
      {std::string(kMaxScanLine - 5, 'n') + " ICON", {std::string(kMaxScanLine - 5, 'n') + " I"}},
      {std::string(kMaxScanLine - 4, 'n') + " ICON", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(listed(c.text), c.listed) << c.text.substr(0, 40);
}

TEST(Scanner, BarrierLinesAreNeverHeaders) {
  // Conditional and LANGUAGE lines are read as such even where a keyword follows; other
  // preprocessor lines are read as any line.
  EXPECT_EQ(listed("#ifdef ICON_SUPPORT\r\n# if DIALOG_X\r\n#endif BITMAP\r\nLANGUAGE 24, 1\r\n"
                   "language CURSOR\r\n#define DIALOG_OK 1\r\nLANGUAGES ICON"),
            (V{"#define D", "LANGUAGES I"}));
}

TEST(Scanner, MarksLinesByTheirFirstWord) {
  using M = LineMark;
  struct Case {
    std::string_view line;
    std::optional<LineMark> mark;
  };
  const Case cases[] = {
      {"{", M::OpenBrace},
      {"  { CONTROL \"a\"", M::OpenBrace},
      {"}", M::CloseBrace},
      {"} // end", M::CloseBrace},
      {"  }", std::nullopt},
      {"BEGIN", M::Begin},
      {"\tBEGIN", M::Begin},
      {"BEGINNER 1", std::nullopt},
      {"begin", std::nullopt},
      {"END", M::End},
      {"    END;", M::End},
      {"ENDIF", std::nullopt},
      {"#if 0", M::If},
      {"# ifdef X", M::If},
      {"  #ifndef X", M::If},
      {"#if(X)", M::If},
      {"#ifdefX", std::nullopt},
      {"#elif X", M::Else},
      {"#else", M::Else},
      {"#endif// c", M::EndIf},
      {"#include \"a.h\"", std::nullopt},
      {"#pragma code_page(1252)", std::nullopt},
      {"LANGUAGE 9, 1", M::Language},
      {"  language 9,1", M::Language},
      {"LANGUAGE_X", std::nullopt},
      {"STYLE WS_POPUP", std::nullopt},
  };
  for (const Case& c : cases) {
    // Under a line with text: a LANGUAGE line there is read as a resource's own.
    const std::string text = "// x\r\n" + std::string(c.line) + "\r\n";
    const std::vector<MarkedLine> marks = scanOutline(text).marks;
    if (!c.mark) {
      EXPECT_TRUE(marks.empty()) << c.line;
      continue;
    }
    ASSERT_EQ(marks.size(), 1u) << c.line;
    EXPECT_EQ(marks[0].mark, *c.mark) << c.line;
    EXPECT_EQ(marks[0].start, 6u) << c.line;
    EXPECT_EQ(text.substr(marks[0].word, 1), c.line.substr(c.line.find_first_not_of(" \t"), 1));
  }
}

TEST(Scanner, ALanguageLineUnderABlankLineIsMarkedSo) {
  const auto marks =
      scanOutline("LANGUAGE 7, 1\r\nA ICON x\r\nLANGUAGE 9, 1\r\n \t\r\nLANGUAGE 12, 1").marks;
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(marks[0].mark, LineMark::LanguageAfterBlank);
  EXPECT_EQ(marks[1].mark, LineMark::Language);
  EXPECT_EQ(marks[2].mark, LineMark::LanguageAfterBlank);
}

TEST(Scanner, SortsCaseInsensitivelyByNameThenType) {
  EXPECT_EQ(listed("ABD DIALOG\r\nabc DIALOG\r\nA ICON\r\nA DIALOG\r\nAB BITMAP"),
            (V{"A D", "A I", "AB B", "abc D", "ABD D"}));
}

TEST(Scanner, DuplicatesAreAllIndexedInTextOrder) {
  const auto index = ARESOURCES("X DIALOG 1\r\nx DIALOG 2\r\nX DIALOG 3");
  ASSERT_EQ(index.size(), 3u);
  EXPECT_EQ(index[0].offset, 0u);
  EXPECT_EQ(index[1].name, "x");
  EXPECT_EQ(index[2].offset, 24u);
}

TEST(Scanner, SameNameWithTwoTypesGivesTwoEntries) {
  EXPECT_EQ(listed("A ICON\r\nA DIALOG"), (V{"A D", "A I"}));
}

}  // namespace
}  // namespace kolvre
