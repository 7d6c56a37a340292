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

// Reorders `text` and checks that a second reorder changes nothing.
std::string reorderedTwice(std::string_view text) {
  const std::string once = reorderScript(text);
  EXPECT_EQ(reorderScript(once), once) << once;
  return once;
}

const std::string kSep(kBlockSeparator);

TEST(ReorderBarriers, AnEndifStaysAfterItsIfndef) {
  const std::string text =
      "Z ICON \"z.ico\"\r\n#ifndef NO_MANIFEST\r\nM 24 \"app.manifest\"\r\n#endif\r\n"
      "A ICON \"a.ico\"\r\n";
  EXPECT_EQ(reorderedTwice(text), "Z ICON \"z.ico\"" + kSep + "#ifndef NO_MANIFEST" + kSep +
                                      "M 24 \"app.manifest\"" + kSep + "#endif" + kSep +
                                      "A ICON \"a.ico\"");
}

TEST(ReorderBarriers, ResourcesDisabledByIf0StayDisabled) {
  const std::string text =
      "B CURSOR \"b.cur\"\r\n#if 0\r\nA CURSOR \"a.cur\"\r\n0 CURSOR\r\n{\r\n '00'\r\n}\r\n"
      "#endif\r\n";
  EXPECT_EQ(reorderedTwice(text), "B CURSOR \"b.cur\"" + kSep + "#if 0" + kSep +
                                      "0 CURSOR\r\n{\r\n '00'\r\n}" + kSep + "A CURSOR \"a.cur\"" +
                                      kSep + "#endif");
}

TEST(ReorderBarriers, ResourcesStayUnderTheirLanguage) {
  auto dialog = [](const std::string& name) {
    return name + " DIALOG 0, 0, 10, 10\r\nBEGIN\r\nEND";
  };
  const std::string text = "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\r\n\r\n" + dialog("IDD_B") +
                           "\r\n\r\n" + dialog("IDD_A") +
                           "\r\n\r\nLANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN\r\n\r\n" +
                           dialog("IDD_B") + "\r\n" + dialog("IDD_A") + "\r\n";
  EXPECT_EQ(reorderedTwice(text), "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US" + kSep +
                                      dialog("IDD_A") + kSep + dialog("IDD_B") + kSep +
                                      "LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN" + kSep +
                                      dialog("IDD_A") + kSep + dialog("IDD_B"));
}

TEST(ReorderBarriers, FreeTextGoesFirstWithinItsOwnStretch) {
  auto icon = [](const std::string& name) { return name + " ICON\r\n{\r\n}"; };
  const std::string text = "// top\r\n" + icon("B") + "\r\n// one\r\n#ifdef X\r\n" + icon("D") +
                           "\r\n// two\r\n" + icon("C") + "\r\n#else\r\n" + icon("A") + "\r\n";
  EXPECT_EQ(reorderedTwice(text), "// top\r\n// one" + kSep + icon("B") + kSep +
                                      "#ifdef X\r\n// two" + kSep + icon("C") + kSep + icon("D") +
                                      kSep + "#else" + kSep + icon("A"));
}

TEST(ReorderBarriers, SectionsAndLanguageLinesInsideAResourceMoveWithIt) {
  const std::string dialog =
      "Z DIALOG 0, 0, 9, 9\r\nBEGIN\r\n#ifdef X\r\n CONTROL 1\r\n#endif\r\nEND";
  const std::string icon =
      "X ICON\r\nMOVEABLE PURE\r\nLANGUAGE LANG_NEUTRAL, 0\r\nBEGIN\r\n'00'\r\nEND";
  EXPECT_EQ(reorderedTwice(dialog + "\r\n" + icon + "\r\nA DIALOG\r\n{\r\n}\r\n"),
            "A DIALOG\r\n{\r\n}" + kSep + dialog + kSep + icon);
}

TEST(ReorderBarriers, ABlockCutShortInsideItsBodyKeepsItsStretchInOrder) {
  // "C" has no END before the next header: sorted last, it would run on into the #endif.
  const std::string text =
      "C ICON\r\nBEGIN\r\n '00'\r\nB ICON \"b\"\r\n#ifdef X\r\n#endif\r\nEND\r\n";
  EXPECT_EQ(reorderedTwice(text), "C ICON\r\nBEGIN\r\n '00'" + kSep + "B ICON \"b\"" + kSep +
                                      "#ifdef X" + kSep + "#endif\r\nEND");
  // Without a barrier after it the stretch is sorted as always.
  EXPECT_EQ(reorderedTwice("C ICON\r\nBEGIN\r\n '00'\r\nB ICON \"b\"\r\n"),
            "B ICON \"b\"" + kSep + "C ICON\r\nBEGIN\r\n '00'");
}

TEST(ReorderBarriers, AnEndifThatClosesNoSectionIsFreeText) {
  EXPECT_EQ(reorderedTwice("B ICON \"b\"\r\n#endif\r\nA ICON \"a\"\r\n#else\r\n"),
            "#endif\r\n#else" + kSep + "A ICON \"a\"" + kSep + "B ICON \"b\"");
  // Unless it cuts a body short: it then stays after that block, or the block would run on
  // over the section after it.
  EXPECT_EQ(reorderedTwice("A 24\r\n{\r\n#endif\r\n#if X\r\n#endif\r\n}"),
            "A 24\r\n{" + kSep + "#endif" + kSep + "#if X" + kSep + "#endif\r\n}");
}

TEST(Reorder, ALongLineStaysWholeAndInPlace) {
  // Text at byte 1024 of a dialog's line is not a header: the line stays in the dialog.
  const std::string dialog = "D DIALOG\r\nBEGIN\r\n LTEXT \"" +
                             std::string(kMaxScanLine - 10, 'x') + "Y ICON DD_LONG ICON\"\r\nEND";
  EXPECT_EQ(reorderedTwice(dialog + "\r\nA ICON \"a\"\r\n"), dialog + kSep + "A ICON \"a\"");
}

}  // namespace
}  // namespace kolvre
