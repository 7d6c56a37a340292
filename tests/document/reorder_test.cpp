#include "document/reorder.h"

#include <gtest/gtest.h>

#include "document/scanner.h"

namespace kolvre {
namespace {

TEST(Reorder, EmptyTextStaysEmpty) {
  EXPECT_EQ(reorderScript(""), "");
}

TEST(Reorder, SortsByTypeThenCaseSensitiveName) {
  const std::string text =
      "abc DIALOG\r\n{\r\n}\r\nV VERSIONINFO\r\n{\r\n}\r\nABD DIALOG\r\n{\r\n}\r\n"
      "M 24\r\n{\r\n}\r\nI ICON\r\n{\r\n}\r\nB BITMAP\r\n{\r\n}\r\nC CURSOR\r\n{\r\n}\r\n";
  EXPECT_EQ(reorderScript(text),
            "M 24\r\n{\r\n}\r\n\r\n\r\nB BITMAP\r\n{\r\n}\r\n\r\n\r\nC CURSOR\r\n{\r\n}\r\n\r\n\r\n"
            "ABD DIALOG\r\n{\r\n}\r\n\r\n\r\nabc DIALOG\r\n{\r\n}\r\n\r\n\r\nI ICON\r\n{\r\n}"
            "\r\n\r\n\r\nV VERSIONINFO\r\n{\r\n}");
}

TEST(Reorder, IsStableWhenRunTwice) {
  const std::string text = "// top\r\nB ICON\r\n{\r\n}\r\n#endif\r\nA ICON\r\n{\r\n}  \r\n";
  const std::string once = reorderScript(text);
  EXPECT_EQ(reorderScript(once), once);
}

TEST(Reorder, KeepsTextOutsideBlocksFirstInItsOrder) {
  const std::string text =
      "#include \"r.h\"\r\n\r\nB ICON\r\n{\r\n}\r\n// between\r\n"
      "STRINGTABLE\r\n{\r\n 1, \"x\"\r\n}\r\nA ICON\r\n{\r\n}\r\n#endif\r\n";
  EXPECT_EQ(reorderScript(text),
            "#include \"r.h\"\r\n// between\r\nSTRINGTABLE\r\n{\r\n 1, \"x\"\r\n}\r\n#endif"
            "\r\n\r\n\r\nA ICON\r\n{\r\n}\r\n\r\n\r\nB ICON\r\n{\r\n}");
}

TEST(Reorder, DuplicatesEachKeepTheirOwnBlock) {
  const std::string text = "X ICON\r\n{\r\n 1\r\n}\r\nA ICON\r\n{\r\n}\r\nX ICON\r\n{\r\n 2\r\n}";
  EXPECT_EQ(reorderScript(text),
            "A ICON\r\n{\r\n}\r\n\r\n\r\nX ICON\r\n{\r\n 1\r\n}\r\n\r\n\r\nX ICON\r\n{\r\n 2\r\n}");
}

TEST(Reorder, BeginEndBodiesAndOneLineResourcesAreNotMerged) {
  const std::string text =
      "Z DIALOG 0\r\nBEGIN\r\n  LTEXT \"}\", 1\r\nEND\r\n\r\nA ICON \"a.ico\"\r\n";
  EXPECT_EQ(reorderScript(text),
            "Z DIALOG 0\r\nBEGIN\r\n  LTEXT \"}\", 1\r\nEND\r\n\r\n\r\nA ICON \"a.ico\"");
}

TEST(Reorder, UnlocatableHeadersTravelWithTheFreeText) {
  const std::string text = "B ICON\r\n{\r\n}\r\nQ  DIALOG\r\n{\r\n}\r\nA ICON\r\n{\r\n}";
  const std::string out = reorderScript(text);
  EXPECT_EQ(out, "Q  DIALOG\r\n{\r\n}\r\n\r\n\r\nA ICON\r\n{\r\n}\r\n\r\n\r\nB ICON\r\n{\r\n}");
  EXPECT_EQ(ARESOURCES(out).size(), 3u);
}

TEST(Reorder, TrailingBlanksOfABlockAreDropped) {
  EXPECT_EQ(reorderScript("A 24\r\n{\r\n}   "), "A 24\r\n{\r\n}");
}

TEST(Reorder, IndentationOfFreeTextIsKept) {
  EXPECT_EQ(reorderScript("\r\n\r\n    // note\r\nA 24\r\n{\r\n}"),
            "    // note\r\n\r\n\r\nA 24\r\n{\r\n}");
}

TEST(Reorder, ABareLineFeedInFreeTextDoesNotStartALine) {
  // Lines end at CR LF only, so "Q 24" after " \n" is no header and must not become one.
  EXPECT_EQ(reorderScript(" \nQ 24\r\n"), " \nQ 24");
  const std::string text = "A ICON\r\n{\r\n} \nQ DIALOG\r\n";
  const std::string out = reorderScript(text);
  EXPECT_EQ(out, " \nQ DIALOG\r\n\r\n\r\nA ICON\r\n{\r\n}");
  EXPECT_EQ(ARESOURCES(out).size(), ARESOURCES(text).size());
}

}  // namespace
}  // namespace kolvre
