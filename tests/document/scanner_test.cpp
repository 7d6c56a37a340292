#include "document/scanner.h"

#include <gtest/gtest.h>

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

TEST(Scanner, BlanksOrTabsBetweenNameAndKeywordStillIndex) {
  const auto lines = scanHeaderLines("A  DIALOG\r\nB\tICON\r\nC BITMAP");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_FALSE(lines[0].locatable);
  EXPECT_FALSE(lines[1].locatable);
  EXPECT_TRUE(lines[2].locatable);
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

TEST(Scanner, LongLinesAreReadInPiecesOf1024) {
  // The piece that starts at character 1024 of a long line is scanned as a line of its own.
  std::string text(1024, 'x');
  text += "NAME ICON\r\nX BITMAP";
  EXPECT_EQ(listed(text), (V{"NAME I", "X B"}));
  const auto lines = scanHeaderLines(text);
  EXPECT_FALSE(lines[0].locatable);  // the header rule needs a line feed before the name
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
