#include "document/blocks.h"

#include <gtest/gtest.h>

namespace kolvre {
namespace {

TEST(HeaderRule, FindsAHeaderOnTheFirstLine) {
  EXPECT_EQ(headerPosition("AB DIALOG 0\r\n{\r\n}", "AB", "DIALOG"), 1u);
}

TEST(HeaderRule, NeedsTheLineStartAndOneBlank) {
  const std::string text = "XAB DIALOG\r\nABC DIALOG\r\nAB  DIALOG\r\nAB DIALOGEX";
  EXPECT_EQ(headerPosition(text, "AB", "DIALOG"), 37u);  // the DIALOGEX line
  EXPECT_EQ(headerPosition(text, "ABC", "DIALOG"), 13u);
  EXPECT_EQ(headerPosition(text, "AB", "ICON"), 0u);
  EXPECT_EQ(headerPosition(text, "ab", "DIALOG"), 0u);
}

TEST(BlockEndRule, RunsThroughTheFirstBraceThatStartsALine) {
  const std::string text = "A ICON\r\n{\r\n 'x}'\r\n}\r\nB ICON";
  EXPECT_EQ(blockLength(text, 1), 19u);
  EXPECT_EQ(text.substr(0, 19).back(), '}');
  EXPECT_EQ(blockLength("A ICON \"a.ico\"", 1), 2u);  // no brace: the rule gives 2
}

TEST(BraceEndRule, StopsAtTheFirstBraceAnywhere) {
  const std::string text = "A ICON\r\n{\r\n 'x}'\r\n}";
  EXPECT_EQ(braceBlockLength(text, 1), 15u);
  EXPECT_EQ(braceBlockLength("A ICON", 1), std::nullopt);
}

TEST(LocateBlock, UsesTheBlockEndRuleWithinItsOwnResource) {
  const std::string text = "A DIALOG 0\r\n{\r\n}\r\n\r\n\r\nB ICON\r\n{\r\n}";
  const auto a = locateBlock(text, "A", ResType::Dialog);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->of(text), "A DIALOG 0\r\n{\r\n}");
  const auto b = locateBlock(text, "B", ResType::Icon);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->of(text), "B ICON\r\n{\r\n}");
  EXPECT_FALSE(locateBlock(text, "B", ResType::Dialog));
}

TEST(LocateBlock, ABodyWithoutBraceEndsBeforeTheNextHeader) {
  const std::string text =
      "A DIALOG 0\r\nBEGIN\r\nEND\r\n\r\nI1 ICON \"a.ico\"\r\n\r\nB ICON\r\n{\r\n}";
  EXPECT_EQ(locateBlock(text, "A", ResType::Dialog)->of(text), "A DIALOG 0\r\nBEGIN\r\nEND");
  EXPECT_EQ(locateBlock(text, "I1", ResType::Icon)->of(text), "I1 ICON \"a.ico\"");
  EXPECT_EQ(locateBlock(text, "B", ResType::Icon)->of(text), "B ICON\r\n{\r\n}");
}

TEST(LocateBlock, AnUnlocatableHeaderStopsThePreviousBlock) {
  const std::string text = "A DIALOG\r\nBEGIN\r\nEND\r\nB  ICON\r\n{\r\n}";
  EXPECT_EQ(locateBlock(text, "A", ResType::Dialog)->of(text), "A DIALOG\r\nBEGIN\r\nEND");
  EXPECT_FALSE(locateBlock(text, "B", ResType::Icon));
}

TEST(LocateBlock, FindsEachDuplicateByOccurrence) {
  const std::string text = "X ICON\r\n{\r\n 1\r\n}\r\nX ICON\r\n{\r\n 2\r\n}";
  EXPECT_EQ(locateBlock(text, "X", ResType::Icon, 0)->of(text), "X ICON\r\n{\r\n 1\r\n}");
  EXPECT_EQ(locateBlock(text, "X", ResType::Icon, 1)->of(text), "X ICON\r\n{\r\n 2\r\n}");
  EXPECT_FALSE(locateBlock(text, "X", ResType::Icon, 2));
}

}  // namespace
}  // namespace kolvre
