#include "document/blocks.h"

#include <gtest/gtest.h>

namespace kolvre {
namespace {

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

TEST(LocateBlock, HeadersAlignedInColumnsAreLocated) {
  const std::string text = "A DIALOG\r\nBEGIN\r\nEND\r\nB  ICON\r\n{\r\n}\r\nC\tBITMAP \"c.bmp\"";
  EXPECT_EQ(locateBlock(text, "A", ResType::Dialog)->of(text), "A DIALOG\r\nBEGIN\r\nEND");
  EXPECT_EQ(locateBlock(text, "B", ResType::Icon)->of(text), "B  ICON\r\n{\r\n}");
  EXPECT_EQ(locateBlock(text, "C", ResType::Bitmap)->of(text), "C\tBITMAP \"c.bmp\"");
}

TEST(LocateBlock, FindsEachDuplicateByOccurrence) {
  const std::string text = "X ICON\r\n{\r\n 1\r\n}\r\nX ICON\r\n{\r\n 2\r\n}";
  EXPECT_EQ(locateBlock(text, "X", ResType::Icon, 0)->of(text), "X ICON\r\n{\r\n 1\r\n}");
  EXPECT_EQ(locateBlock(text, "X", ResType::Icon, 1)->of(text), "X ICON\r\n{\r\n 2\r\n}");
  EXPECT_FALSE(locateBlock(text, "X", ResType::Icon, 2));
}

// The block of the text's first header.
std::string_view firstBlock(std::string_view text) {
  return blockExtentAt(text, scanHeaderLines(text), 0).of(text);
}

struct BlockCase {
  std::string text;
  std::string block;  // the first header's block
};

void expectFirstBlocks(const std::vector<BlockCase>& cases) {
  for (const BlockCase& c : cases) EXPECT_EQ(firstBlock(c.text), c.block) << c.text;
}

TEST(BlockEnd, ABeginEndBodyEndsAtTheEndThatClosesIt) {
  const std::string version =
      "V VERSIONINFO\r\nFILEVERSION 1,0\r\nBEGIN\r\n BLOCK \"S\"\r\n BEGIN\r\n"
      "  VALUE \"A\", \"b\"\r\n END\r\nEND";
  expectFirstBlocks({
      // Nested pairs are counted; what follows the END is no longer the block's.
      {version + "\r\n// after\r\nSTRINGTABLE\r\nBEGIN\r\nEND\r\nI ICON", version},
      // The rest of the closing line stays with it, unless blank.
      {"D DIALOG\r\nBEGIN\r\nEND // D\r\nX", "D DIALOG\r\nBEGIN\r\nEND // D"},
      {"D DIALOG\r\nBEGIN\r\nEND  \r\n\r\nX", "D DIALOG\r\nBEGIN\r\nEND"},
      // Without its END the body runs on to the next header, as a body in braces does.
      {"D DIALOG\r\nBEGIN\r\n CONTROL\r\n\r\nB ICON", "D DIALOG\r\nBEGIN\r\n CONTROL"},
      // A line that starts with "}" closes any body; in braces BEGIN and END are not counted.
      {"D DIALOG\r\nBEGIN\r\n CONTROL\r\n}\r\nEND", "D DIALOG\r\nBEGIN\r\n CONTROL\r\n}"},
      {"V VERSIONINFO\r\n{\r\n BEGIN\r\n END\r\n}\r\nEND",
       "V VERSIONINFO\r\n{\r\n BEGIN\r\n END\r\n}"},
      // Neither END nor BEGIN counts before the body opens.
      {"A ICON\r\nEND\r\n{\r\n}", "A ICON\r\nEND\r\n{\r\n}"},
  });
}

TEST(BlockEnd, TheRestOfTheClosingBraceLineStaysWhenItHoldsText) {
  expectFirstBlocks({
      {"A ICON\r\n{\r\n} // A\r\nB ICON", "A ICON\r\n{\r\n} // A"},
      {"A ICON\r\n{\r\n}#endif\r\n", "A ICON\r\n{\r\n}#endif"},
      {"A ICON\r\n{\r\n} x\nQ DIALOG\r\n", "A ICON\r\n{\r\n} x\nQ DIALOG"},
      // Blank up to a line feed: the block ends at the brace, as before.
      {"A ICON\r\n{\r\n} \nQ DIALOG\r\n", "A ICON\r\n{\r\n}"},
      {"A ICON\r\n{\r\n}\t\r\n", "A ICON\r\n{\r\n}"},
  });
}

TEST(BlockEnd, ConditionalSectionsInsideABodyBelongToTheBlock) {
  const std::string dialog =
      "D DIALOG\r\nBEGIN\r\n#ifdef X\r\n CONTROL 1\r\n#else\r\n CONTROL 2\r\n#endif\r\nEND";
  expectFirstBlocks({
      {dialog + "\r\n#endif", dialog},
      {"A ICON\r\n{\r\n#if A\r\n#if B\r\n#endif\r\n#endif\r\n}",
       "A ICON\r\n{\r\n#if A\r\n#if B\r\n#endif\r\n#endif\r\n}"},
      // A section that the body's close leaves open: the block ends before it.
      {"D DIALOG\r\nBEGIN\r\n CONTROL\r\n#ifdef X\r\nEND\r\n#endif",
       "D DIALOG\r\nBEGIN\r\n CONTROL"},
      // The end of a section opened outside the block ends the block.
      {"D DIALOG\r\nBEGIN\r\n CONTROL\r\n#endif\r\nEND", "D DIALOG\r\nBEGIN\r\n CONTROL"},
      {"D DIALOG\r\nBEGIN\r\n CONTROL\r\n#else\r\nEND", "D DIALOG\r\nBEGIN\r\n CONTROL"},
      // A body that does not close ends before the next header, with its whole sections, or
      // before a section still open there.
      {"A ICON\r\n{\r\n '00'\r\n\r\n#if X\r\n#endif\r\n\r\nB ICON",
       "A ICON\r\n{\r\n '00'\r\n\r\n#if X\r\n#endif"},
      {"A ICON\r\n{\r\n '00'\r\n\r\n#if X\r\n '01'\r\nB ICON", "A ICON\r\n{\r\n '00'"},
  });
}

TEST(BlockEnd, BeforeTheBodyABarrierLineEndsTheBlock) {
  expectFirstBlocks({
      {"I ICON \"a.ico\"\r\n\r\n#ifdef X\r\nSTRINGTABLE\r\nBEGIN\r\nEND\r\n#endif",
       "I ICON \"a.ico\""},
      {"D DIALOG 0, 0, 9, 9\r\n#if 0\r\nCAPTION \"a\"\r\n#endif\r\nBEGIN\r\nEND",
       "D DIALOG 0, 0, 9, 9"},
      // A LANGUAGE line under a blank line starts a language section.
      {"I ICON \"a.ico\"\r\n\r\nLANGUAGE 9, 1\r\nSTRINGTABLE\r\nBEGIN\r\nEND", "I ICON \"a.ico\""},
      // Right under the header's lines it is the resource's own, when a body follows it...
      {"X ICON\r\nMOVEABLE PURE\r\nLANGUAGE LANG_NEUTRAL, 0\r\nBEGIN\r\n'00'\r\nEND\r\nY ICON",
       "X ICON\r\nMOVEABLE PURE\r\nLANGUAGE LANG_NEUTRAL, 0\r\nBEGIN\r\n'00'\r\nEND"},
      // ...and a barrier when none does.
      {"I ICON \"a.ico\"\r\nLANGUAGE 9, 1\r\n// German\r\nB ICON", "I ICON \"a.ico\""},
      {"I ICON \"a.ico\"\r\nLANGUAGE 9, 1\r\n#if X\r\nBEGIN\r\nEND", "I ICON \"a.ico\""},
      // Inside the body a LANGUAGE line has no place: the block ends before it.
      {"D DIALOG\r\nBEGIN\r\nLANGUAGE 9, 1\r\nEND", "D DIALOG\r\nBEGIN"},
  });
}

}  // namespace
}  // namespace kolvre
