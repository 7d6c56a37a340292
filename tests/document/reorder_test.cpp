// The whole reorder, the move of one block to its place, and the place of a new block.
#include "document/reorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "document/scanner.h"
#include "support/reorder_invariants.h"

namespace kolvre {
namespace {

std::string icon(std::string_view name) {
  return std::string(name) + " ICON \"" + std::string(name) + ".ico\"";
}
std::string dialog(std::string_view name) {
  return std::string(name) + " DIALOG 0, 0, 9, 9\r\nBEGIN\r\nEND";
}

struct ReorderCase {
  std::string text;
  std::string reordered;
};

void expectReorders(const std::vector<ReorderCase>& cases) {
  for (const ReorderCase& c : cases) {
    const std::string out = reorderScript(c.text);
    EXPECT_EQ(out, c.reordered) << c.text;
    EXPECT_EQ(testing::checkReorder(c.text, out), "") << c.text;
  }
}

TEST(Reorder, EachTypeKeepsItsPlaces) {
  const std::string sections =
      "/////\r\n// Icon\r\n//\r\n\r\n{B}\r\n{A}\r\n\r\n/////\r\n// Dialog\r\n//\r\n\r\n{D2}\r\n\r\n"
      "{D1}\r\n";
  auto fill = [](std::string text, const std::vector<std::string>& blocks) {
    for (const std::string& b : blocks) {
      const std::size_t at = text.find('{');
      const std::size_t end = text.find('}', at);
      text.replace(at, end - at + 1, b);
    }
    return text;
  };
  expectReorders({
      {"", ""},
      {"\r\n", "\r\n"},
      {icon("B") + "\r\n" + dialog("D2") + "\r\n" + icon("A") + "\r\n" + dialog("D1"),
       icon("A") + "\r\n" + dialog("D1") + "\r\n" + icon("B") + "\r\n" + dialog("D2")},
      // Sections under their comments: each block stays in its own section.
      {fill(sections, {icon("B"), icon("A"), dialog("D2"), dialog("D1")}),
       fill(sections, {icon("A"), icon("B"), dialog("D1"), dialog("D2")})},
      // Unlisted statements and blank lines stay where they are.
      {icon("B") + "\r\n\r\n1 MENU\r\nBEGIN\r\nEND\r\nSTRINGTABLE\r\nBEGIN\r\nEND\r\n\r\n\r\n" +
           icon("A"),
       icon("A") + "\r\n\r\n1 MENU\r\nBEGIN\r\nEND\r\nSTRINGTABLE\r\nBEGIN\r\nEND\r\n\r\n\r\n" +
           icon("B")},
      // Names as the index sorts them; namesakes keep their text order.
      {icon("10") + "\r\n" + icon("b") + "\r\n" + icon("2") + "\r\n" + icon("A"),
       icon("2") + "\r\n" + icon("10") + "\r\n" + icon("A") + "\r\n" + icon("b")},
      {"X ICON \"2\"\r\nA ICON \"a\"\r\nx ICON \"1\"\r\n",
       "A ICON \"a\"\r\nX ICON \"2\"\r\nx ICON \"1\"\r\n"},
  });
}

TEST(Reorder, BarriersCutTheTextIntoStretches) {
  const std::string barriers[] = {
      "#include \"resource.h\"",
      "#pragma code_page(1252)",
      "#define X 1",
      "#undef X",
      "#if 0\r\n#endif",
      "#endif",
      "#define LONG \\\r\n  A ICON \"x\"",
      "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US",
      "VERSION 2",
      "CHARACTERISTICS 3",
      // A block that cannot move: left open, or with a preprocessor line inside.
      "M DIALOG 0, 0, 9, 9\r\nBEGIN\r\n#define Y 2\r\nEND",
      "M MENU\r\nBEGIN\r\n MENUITEM \"x\", 1",
      // Text that is no statement.
      "} END",
  };
  for (const std::string& barrier : barriers) {
    const std::string middle = "\r\n" + barrier + "\r\n";
    expectReorders({
        {icon("B") + middle + icon("A"), icon("B") + middle + icon("A")},
        {icon("C") + "\r\n" + icon("B") + middle + icon("A") + "\r\n",
         icon("B") + "\r\n" + icon("C") + middle + icon("A") + "\r\n"},
    });
  }
}

TEST(Reorder, WhatMovesWithABlock) {
  expectReorders({
      // A LANGUAGE inside a header is the block's own: no barrier, and it moves with it.
      {"Z DIALOG 0, 0, 9, 9\r\nLANGUAGE 9, 1\r\nBEGIN\r\nEND\r\n" + dialog("A"),
       dialog("A") + "\r\nZ DIALOG 0, 0, 9, 9\r\nLANGUAGE 9, 1\r\nBEGIN\r\nEND"},
      {icon("B") + "\r\n1 MENU\r\nLANGUAGE 4, 7\r\n{\r\n}\r\n" + icon("A"),
       icon("A") + "\r\n1 MENU\r\nLANGUAGE 4, 7\r\n{\r\n}\r\n" + icon("B")},
      // Whole conditional sections inside it.
      {"V VERSIONINFO\r\n#ifdef _DEBUG\r\nFILEFLAGS 1\r\n#else\r\nFILEFLAGS 0\r\n#endif\r\n"
       "BEGIN\r\nEND\r\nA VERSIONINFO\r\nBEGIN\r\nEND",
       "A VERSIONINFO\r\nBEGIN\r\nEND\r\nV VERSIONINFO\r\n#ifdef _DEBUG\r\nFILEFLAGS 1\r\n#else\r\n"
       "FILEFLAGS 0\r\n#endif\r\nBEGIN\r\nEND"},
      // The comment lines right above it and the comments after it on its last line; a
      // comment after a blank line stays.
      {"// about B\r\n/* more\r\n B */\r\n" + icon("B") + " // b\r\n\r\n// stays\r\n\r\n" +
           icon("A") + "\r\n",
       icon("A") + "\r\n\r\n// stays\r\n\r\n// about B\r\n/* more\r\n B */\r\n" + icon("B") +
           " // b\r\n"},
      // A comment before it on its line, or another statement on one of its lines, ties it
      // to its place: it is a barrier.
      {icon("C") + "\r\n/* c */ " + icon("B") + "\r\n" + icon("A"),
       icon("C") + "\r\n/* c */ " + icon("B") + "\r\n" + icon("A")},
      {icon("C") + "\r\n" + icon("B") + " " + icon("X") + "\r\n" + icon("A"),
       icon("C") + "\r\n" + icon("B") + " " + icon("X") + "\r\n" + icon("A")},
      // Its indentation; whitespace-only lines stay.
      {"  " + icon("B") + "\r\n  \t\r\n" + icon("A"), icon("A") + "\r\n  \t\r\n  " + icon("B")},
  });
}

TEST(Reorder, LineEndsStayAsTheyWere) {
  expectReorders({
      // The final line end, kept or absent.
      {icon("B") + "\r\n" + icon("A"), icon("A") + "\r\n" + icon("B")},
      {icon("B") + "\r\n" + icon("A") + "\r\n", icon("A") + "\r\n" + icon("B") + "\r\n"},
      {icon("B") + "\r\n" + icon("A") + "\r\n\r\n\r\n",
       icon("A") + "\r\n" + icon("B") + "\r\n\r\n\r\n"},
      // Blanks after a block on its line go with it.
      {icon("B") + "\r\n\r\n" + icon("A") + "  ", icon("A") + "  \r\n\r\n" + icon("B")},
      // A lone CR or LF is no line end: what follows it stays on the block's line, and two
      // statements joined by one share a line.
      {icon("B") + "\rX\r\n" + icon("A"), icon("A") + "\r\n" + icon("B") + "\rX"},
      {icon("C") + "\r\n" + icon("B") + "\r" + icon("A") + "\r\n",
       icon("C") + "\r\n" + icon("B") + "\r" + icon("A") + "\r\n"},
      {"Z DIALOG 0, 0, 9, 9\nBEGIN\rEND\r\n" + dialog("Y"),
       dialog("Y") + "\r\nZ DIALOG 0, 0, 9, 9\nBEGIN\rEND"},
  });
}

// A lone CR or LF (as in CR CR LF line ends) beside a block's line end does not tie it down.
TEST(Reorder, ALoneCrOrLfBesideABlockLetsItMove) {
  expectReorders({
      {icon("B") + "\r\r\n" + icon("A") + "\r\r\n", icon("A") + "\r\r\n" + icon("B") + "\r\r\n"},
      {icon("B") + "\n\r\n" + icon("A") + "\r\n", icon("A") + "\r\n" + icon("B") + "\n\r\n"},
  });
}

TEST(Reorder, AScriptInOrderComesBackByteForByte) {
  const std::string text =
      "// Generated\r\n#include \"resource.h\"\r\n\r\nLANGUAGE 9, 1\r\n#pragma code_page(1252)\r\n"
      "\r\n1 24 \"app.manifest\"\r\n\r\nIDB_LOGO BITMAP \"logo.bmp\"\r\n\r\n"
      "IDC_HAND CURSOR \"hand.cur\"\r\n\r\n" +
      dialog("IDD_ABOUT") + " // about\r\n\r\n" + dialog("idd_main") + "\r\n\r\n\t\r\n" +
      "100 ICON \"app.ico\"\r\nIDI_SMALL ICON DISCARDABLE \"small.ico\"\r\n\r\n"
      "M MENU\r\nBEGIN\r\nEND\r\n\r\n"
      "VS_VERSION_INFO VERSIONINFO\r\nFILEVERSION 1,0,0,1\r\nBEGIN\r\n BLOCK \"x\"\r\n BEGIN\r\n"
      " END\r\nEND\r\n\r\n\r\n";
  expectReorders({{text, text}});
}

TEST(Reorder, ALongLineOfBlocksIsReadInLinearTime) {
  // A 200 KB line of icons joined by lone LFs, as in a file with mixed line ends.
  std::string text;
  while (text.size() < 200'000) text += icon("A") + "\n";
  const std::string out = reorderScript(text);
  EXPECT_EQ(testing::checkReorder(text, out), "");
  placeBlock(text, 0);
  newBlockInsertion(text, icon("B"));
}

// placeBlock at the block named `name` (its first occurrence).
std::string placed(std::string_view text, std::string_view name) {
  const std::size_t at = text.find(name);
  EXPECT_NE(at, std::string_view::npos) << name;
  const std::string out = placeBlock(text, at);
  EXPECT_EQ(testing::checkPlaced(text, at, out), "") << text;
  return out;
}

struct PlaceCase {
  std::string text;
  std::string name;  // where the moved block's name starts
  std::string placed;
};

void expectPlaced(const std::vector<PlaceCase>& cases) {
  for (const PlaceCase& c : cases)
    EXPECT_EQ(placed(c.text, c.name), c.placed) << c.text << " at " << c.name;
}

TEST(PlaceBlock, ARenameMovesABlockOnlyInAStretchThatStoodSorted) {
  // Renamed A1 -> Z9 in a sorted stretch: it goes after A2, to keep the stretch sorted.
  const std::string sorted = dialog("Z9") + "\r\n" + dialog("A2") + "\r\n";
  const std::string moved = placeBlock(sorted, 0, nullptr, "A1");
  EXPECT_EQ(moved, dialog("A2") + "\r\n" + dialog("Z9") + "\r\n");
  EXPECT_EQ(testing::checkRenamed(dialog("A1") + "\r\n" + dialog("A2") + "\r\n", 0, "Z9", moved),
            "");
  // Renamed B1 -> C1 where B1 stood before A1: the author did not sort it, and it stays.
  const std::string unsorted = dialog("C1") + "\r\n" + dialog("A1") + "\r\n";
  EXPECT_EQ(placeBlock(unsorted, 0, nullptr, "B1"), unsorted);
  EXPECT_EQ(testing::checkRenamed(dialog("B1") + "\r\n" + dialog("A1") + "\r\n", 0, "C1", unsorted),
            "");
  // Without the old name (a new or pasted block) it goes to its place as before.
  EXPECT_NE(placeBlock(unsorted, 0), unsorted);
  // Blocks of other types between do not count; the same name again is in order.
  const std::string mixed =
      dialog("Q") + "\r\n" + icon("Z") + "\r\n" + dialog("B") + "\r\n" + dialog("B") + "\r\n";
  EXPECT_NE(placeBlock(mixed, 0, nullptr, "A"), mixed);
}

TEST(PlaceBlock, MovesOnlyTheOneBlock) {
  const std::string icons = "// Icon\r\n\r\n" + icon("I1") + "\r\n\r\n" + icon("I2") + "\r\n\r\n";
  expectPlaced({
      // A renamed dialog stays among the dialogs of a script in sections.
      {icons + "// Dialog\r\n\r\n" + dialog("D1") + "\r\n\r\n" + dialog("A0") + "\r\n\r\n" +
           dialog("D3") + "\r\n",
       "A0",
       icons + "// Dialog\r\n\r\n" + dialog("A0") + "\r\n\r\n" + dialog("D1") + "\r\n\r\n" +
           dialog("D3") + "\r\n"},
      {icons + "// Dialog\r\n\r\n" + dialog("Z") + "\r\n\r\n" + dialog("D2") + "\r\n\r\n" +
           dialog("D3") + "\r\n\r\n// End\r\n",
       "Z",
       icons + "// Dialog\r\n\r\n" + dialog("D2") + "\r\n\r\n" + dialog("D3") + "\r\n\r\n" +
           dialog("Z") + "\r\n\r\n// End\r\n"},
      // The others stay in their order, even when out of order.
      {icon("C") + "\r\n" + icon("A") + "\r\n" + icon("B") + "\r\n", "B",
       icon("B") + "\r\n" + icon("C") + "\r\n" + icon("A") + "\r\n"},
      {icon("C") + "\r\n" + icon("A") + "\r\n" + icon("D") + "\r\n", "D",
       icon("C") + "\r\n" + icon("A") + "\r\n" + icon("D") + "\r\n"},
      // With none of its type: before the first of a later type, else after the last block.
      {icon("I") + "\r\n\r\n" + dialog("D") + "\r\n\r\n// end\r\n", "D",
       dialog("D") + "\r\n\r\n" + icon("I") + "\r\n\r\n// end\r\n"},
      {icon("I") + "\r\n\r\n" + "B BITMAP \"b\"\r\n\r\n// end\r\n", "B BITMAP",
       "B BITMAP \"b\"\r\n\r\n" + icon("I") + "\r\n\r\n// end\r\n"},
      // Only within its stretch.
      {icon("Z") + "\r\n" + icon("B") + "\r\n#endif\r\n" + icon("A") + "\r\n", "Z",
       icon("B") + "\r\n" + icon("Z") + "\r\n#endif\r\n" + icon("A") + "\r\n"},
      // With its comment lines above and its blank lines after.
      {"// z\r\n" + icon("Z") + "\r\n\r\n\r\n" + icon("A") + "\r\n", "Z",
       icon("A") + "\r\n\r\n\r\n// z\r\n" + icon("Z") + "\r\n"},
  });
}

TEST(PlaceBlock, ABlockInPlaceStays) {
  const std::string text = icon("A") + "\r\n\r\n1 MENU\r\nBEGIN\r\nEND\r\n\r\n" +
                           "STRINGTABLE\r\nBEGIN\r\nEND\r\n\r\n" + icon("B") + "\r\n";
  for (std::string_view name : {"A ICON", "B ICON"}) EXPECT_EQ(placed(text, name), text);
  // Nothing movable there: no change.
  EXPECT_EQ(placeBlock(text, 1), text);
  EXPECT_EQ(placeBlock(text, text.find("1 MENU")), text);
  const std::string open = icon("B") + "\r\nA DIALOG 0,0,1,1\r\nBEGIN\r\n";
  EXPECT_EQ(placeBlock(open, open.find("A DIALOG")), open);
}

TEST(PlaceBlock, ABlockInOrderAmongItsTypeStaysPastOtherTypes) {
  // The dialogs are in order; reorderScript leaves the text as it is.
  const std::string text = dialog("A") + "\r\n\r\n" + icon("B") + "\r\n\r\n" + dialog("C") + "\r\n";
  ASSERT_EQ(reorderScript(text), text);
  EXPECT_EQ(placed(text, "A DIALOG"), text);
  EXPECT_EQ(placed(text, "C DIALOG"), text);
}

TEST(PlaceBlock, TheEndOfTheText) {
  expectPlaced({
      // To the end of a text without a final line end: it still has none.
      {icon("Z") + "\r\n\r\n" + icon("A") + "\r\n" + icon("B"), "Z",
       icon("A") + "\r\n" + icon("B") + "\r\n\r\n" + icon("Z")},
      // The last block, without a final line end, moves up with the blank lines above it.
      {icon("A") + "\r\n" + icon("C") + "\r\n\r\n" + icon("B"), "B",
       icon("A") + "\r\n" + icon("B") + "\r\n\r\n" + icon("C")},
      {icon("C") + "\r\n" + icon("B"), "B", icon("B") + "\r\n" + icon("C")},
  });
}

// The last block, with one final line end, moves up with the blank lines above it; the text
// keeps its end.
TEST(PlaceBlock, TheLastBlockWithAFinalLineEndTakesTheBlankLinesAboveIt) {
  expectPlaced({
      {icon("A") + "\r\n\r\n" + icon("B") + "\r\n\r\n" + icon("0") + "\r\n", "0",
       icon("0") + "\r\n\r\n" + icon("A") + "\r\n\r\n" + icon("B") + "\r\n"},
      {icon("I") + "\r\n\r\n" + dialog("D") + "\r\n", "D",
       dialog("D") + "\r\n\r\n" + icon("I") + "\r\n"},
  });
}

// The text with a new block inserted where newBlockInsertion puts it.
std::string inserted(std::string_view text, std::string_view block) {
  const Insertion ins = newBlockInsertion(text, block).value();
  EXPECT_LE(ins.at, ins.replacedEnd);
  EXPECT_LE(ins.replacedEnd, text.size());
  EXPECT_EQ(trimSpace(text.substr(ins.at, ins.replacedEnd - ins.at)), "");
  std::string out(text.substr(0, ins.at));
  out += ins.text;
  out += text.substr(ins.replacedEnd);
  EXPECT_EQ(testing::checkInserted(text, block, out), "") << text;
  return out;
}

struct InsertCase {
  std::string text;
  std::string block;
  std::string after;
};

void expectInserted(const std::vector<InsertCase>& cases) {
  for (const InsertCase& c : cases)
    EXPECT_EQ(inserted(c.text, c.block), c.after) << c.text << " + " << c.block;
}

TEST(NewBlockInsertion, WhereANewBlockGoes) {
  expectInserted({
      // Into an empty or whitespace-only text: after the white space, which stays; its last
      // line, left without a line end, after the block's.
      {"", icon("X"), icon("X")},
      {"", icon("X") + "\r\n", icon("X")},
      {" \r\n\t\r\n", icon("X") + "\r\n\r\n", " \r\n\t\r\n" + icon("X") + "\r\n"},
      {"  ", icon("X"), icon("X") + "\r\n  "},
      // Before the first of a later name, set apart as that one is from the next.
      {icon("A") + "\r\n\r\n" + icon("C") + "\r\n\r\n" + icon("E") + "\r\n", icon("B"),
       icon("A") + "\r\n\r\n" + icon("B") + "\r\n\r\n" + icon("C") + "\r\n\r\n" + icon("E") +
           "\r\n"},
      {icon("B") + "\r\n" + icon("C") + "\r\n", "// a\r\n" + icon("A") + "\r\n",
       "// a\r\n" + icon("A") + "\r\n" + icon("B") + "\r\n" + icon("C") + "\r\n"},
      // After the last, set apart as it is from the one before.
      {icon("A") + "\r\n\r\n" + icon("B"), icon("C"),
       icon("A") + "\r\n\r\n" + icon("B") + "\r\n\r\n" + icon("C")},
      {icon("A") + "\r\n\r\n" + icon("B") + "\r\n\r\n// end\r\n", icon("C"),
       icon("A") + "\r\n\r\n" + icon("B") + "\r\n\r\n" + icon("C") + "\r\n\r\n// end\r\n"},
      // Never between a header and its LANGUAGE.
      {"1 MENU\r\nLANGUAGE 4, 7\r\n{\r\n}\r\n\r\n" + icon("B") + "\r\n\r\n" + icon("C"), icon("A"),
       "1 MENU\r\nLANGUAGE 4, 7\r\n{\r\n}\r\n\r\n" + icon("A") + "\r\n\r\n" + icon("B") +
           "\r\n\r\n" + icon("C")},
      // A type the text has none of: before the first of a later type.
      {icon("A") + "\r\n\r\n" + icon("B") + "\r\n", dialog("X"),
       dialog("X") + "\r\n\r\n" + icon("A") + "\r\n\r\n" + icon("B") + "\r\n"},
      // Only the last stretch counts; when it holds none, at the end after two blank lines.
      {icon("B") + "\r\n#endif\r\n", icon("A"),
       icon("B") + "\r\n#endif\r\n\r\n\r\n" + icon("A") + "\r\n"},
      {icon("B") + "\r\n#endif", icon("A"), icon("B") + "\r\n#endif\r\n\r\n\r\n" + icon("A")},
      {"1 MENU\r\nBEGIN\r\nEND\r\n", icon("A"),
       "1 MENU\r\nBEGIN\r\nEND\r\n\r\n\r\n" + icon("A") + "\r\n"},
      {"// only a comment", "M MENU\r\nBEGIN\r\nEND",
       "// only a comment\r\n\r\n\r\nM MENU\r\nBEGIN\r\nEND"},
  });
}

// Next to the last block the new one is set apart as the blocks before it are.
TEST(NewBlockInsertion, BesideTheLastBlockTheGapAboveItCounts) {
  expectInserted({
      {icon("A") + "\r\n\r\n" + icon("B") + "\r\n", icon("C"),
       icon("A") + "\r\n\r\n" + icon("B") + "\r\n\r\n" + icon("C") + "\r\n"},
      {icon("A") + "\r\n\r\n" + icon("C") + "\r\n", icon("B"),
       icon("A") + "\r\n\r\n" + icon("B") + "\r\n\r\n" + icon("C") + "\r\n"},
      {icon("A") + "\r\n\r\n" + icon("C"), icon("B"),
       icon("A") + "\r\n\r\n" + icon("B") + "\r\n\r\n" + icon("C")},
  });
}

// At the end, after the last line that holds text: the blank lines already there set the new
// block apart (two at most) and stay after it, so that a delete, which takes at most two blank
// lines after a block, gives the text back.
TEST(NewBlockInsertion, BlankLinesAtTheEndSetTheNewBlockApartAndStay) {
  expectInserted({
      {"#endif\r\n\r\n", icon("A"), "#endif\r\n\r\n" + icon("A") + "\r\n\r\n"},
      {"#endif\r\n\r\n\r\n", icon("A"), "#endif\r\n\r\n\r\n" + icon("A") + "\r\n\r\n\r\n"},
      {"#endif\r\n \r\n\r\n\r\n", icon("A"),
       "#endif\r\n \r\n\r\n" + icon("A") + "\r\n \r\n\r\n\r\n"},
      // A last line of blanks without a line end: the block is not set apart.
      {"#endif\r\n  ", icon("A"), "#endif\r\n" + icon("A") + "\r\n  "},
  });
}

}  // namespace
}  // namespace kolvre
