// The top-level statements of a script, and the resource index read from them.
#include "syntax/statements.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/blocks.h"
#include "document/edit.h"
#include "document/reorder.h"
#include "document/resource_edits.h"
#include "document/scanner.h"
#include "document/script_file.h"
#include "support/reorder_invariants.h"

namespace kolvre {
namespace {

using V = std::vector<std::string>;

// A statement as the tables write it: its kind's letter, '!' when it is not complete, '~' when
// it is not self-contained, then its text.
std::string shown(std::string_view text, const Statement& s) {
  static constexpr std::string_view kLetters = "RTLVHDCO";
  std::string out(1, kLetters[static_cast<std::size_t>(s.kind)]);
  if (!s.complete) out += '!';
  if (!s.selfContained) out += '~';
  out += ':';
  out += s.of(text);
  return out;
}

V statements(std::string_view text) {
  EXPECT_EQ(testing::checkStatementsCover(text), "") << testing::detail::excerpt(text);
  V out;
  for (const Statement& s : readStatements(text)) out.push_back(shown(text, s));
  return out;
}

// The index as "name code" entries, in its order.
// The entries of the six kinds the editor creates, as "name code".
V listed(std::string_view text) {
  EXPECT_EQ(testing::checkStatementsCover(text), "") << testing::detail::excerpt(text);
  V out;
  for (const IndexEntry& e : indexResources(text, ListedKinds::CreatableOnly))
    out.push_back(e.name + " " + std::string(e.code()));
  return out;
}

// Every entry, as "name code" and the language's tag after a slash when there is one.
V entries(std::string_view text) {
  V out;
  for (const IndexEntry& e : indexResources(text)) {
    out.push_back(e.name + " " + std::string(e.code()));
    if (!e.language.empty()) out.back() += "/" + e.language;
  }
  return out;
}

struct StatementCase {
  std::string text;
  V statements;
};

void expectStatements(const std::vector<StatementCase>& cases) {
  for (const StatementCase& c : cases) EXPECT_EQ(statements(c.text), c.statements) << c.text;
}

TEST(Statements, EachKind) {
  expectStatements({
      {"", {}},
      {" \r\n\t\r\n", {}},
      {"VERSION 1\r\nCHARACTERISTICS 2\r\nLANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US",
       {"V:VERSION 1", "H:CHARACTERISTICS 2", "L:LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US"}},
      // Values are expressions.
      {"LANGUAGE (1+2)|3, -(4)\r\nA ICON \"a\"", {"L:LANGUAGE (1+2)|3, -(4)", "R:A ICON \"a\""}},
      {"STRINGTABLE DISCARDABLE\r\nBEGIN\r\n 1, \"}\"\r\nEND",
       {"T:STRINGTABLE DISCARDABLE\r\nBEGIN\r\n 1, \"}\"\r\nEND"}},
      {"#include \"r.h\"\r\n// c\r\n/* d */", {"D:#include \"r.h\"", "C:// c", "C:/* d */"}},
      // Stray tokens: each line on its own.
      {"END\r\n} x\r\n\"s\"", {"O:END", "O:} x", "O:\"s\""}},
      // A resource: memory options, its own LANGUAGE, then its file or body.
      {"A ICON PRELOAD DISCARDABLE \"a.ico\"\r\nB BITMAP MOVEABLE\r\nLANGUAGE 9, 1\r\n{\r\n "
       "'00'\r\n}",
       {"R:A ICON PRELOAD DISCARDABLE \"a.ico\"",
        "R:B BITMAP MOVEABLE\r\nLANGUAGE 9, 1\r\n{\r\n '00'\r\n}"}},
      // A comment after the closing line is a statement of its own.
      {"D DIALOG 0, 0, 9, 9\r\nBEGIN\r\nEND // D\r\nB ICON \"b\" // x",
       {"R:D DIALOG 0, 0, 9, 9\r\nBEGIN\r\nEND", "C:// D", "R:B ICON \"b\"", "C:// x"}},
      // Braces and BEGIN END pairs nest alike; words that only hold them are no delimiters.
      {"V VERSIONINFO\r\n{\r\n BLOCK \"S\"\r\n BEGIN\r\n  VALUE \"ENDING\", \"{\"\r\n END\r\n}"
       "\r\nX ICON \"x\"",
       {"R:V VERSIONINFO\r\n{\r\n BLOCK \"S\"\r\n BEGIN\r\n  VALUE \"ENDING\", \"{\"\r\n END\r\n}",
        "R:X ICON \"x\""}},
      {"M MENU\r\nBEGIN\r\n MENUITEM \"x\", IDM_END\r\n POPUP \"BEGINNER\" { }\r\nEND",
       {"R:M MENU\r\nBEGIN\r\n MENUITEM \"x\", IDM_END\r\n POPUP \"BEGINNER\" { }\r\nEND"}},
  });
}

// An icon named by its file ends with its line, whatever block follows it; deleting it leaves
// that block byte for byte.
TEST(Statements, AnIconFileLineEndsBeforeTheNextBlock) {
  const std::string following[] = {
      "M MENU\r\nBEGIN\r\n MENUITEM \"&Open\", 1\r\nEND",
      "STRINGTABLE\r\nBEGIN\r\n 1, \"x\"\r\nEND",
      "K ACCELERATORS\r\nBEGIN\r\n \"A\", 1, VIRTKEY\r\nEND",
      "H HTML \"h.htm\"",
      "H HTML\r\nBEGIN\r\n \"<p>\"\r\nEND",
      "R RCDATA\r\nBEGIN\r\n 1, 2\r\nEND",
      "X MYTYPE \"x.bin\"",
      "1 24 \"app.manifest\"",
  };
  for (const std::string& block : following) {
    for (const std::string& after : {std::string(), std::string("\r\n")}) {
      const std::string text = "A ICON \"a.ico\"\r\n" + block + after;
      const char kind = block.starts_with("STRINGTABLE") ? 'T' : 'R';
      EXPECT_EQ(statements(text), (V{"R:A ICON \"a.ico\"", kind + (":" + block)})) << text;
      const ResourceIndex index = indexResources(text);
      ASSERT_FALSE(index.empty()) << text;
      const std::size_t position = index[0].name == "A" ? 0 : 1;
      const auto icon = entryBlock(text, index, position);
      ASSERT_TRUE(icon) << text;
      EXPECT_EQ(icon->of(text), "A ICON \"a.ico\"");
      const std::string out = applySplices(text, deleteEdit(text, index, position, *icon)->splices);
      EXPECT_EQ(out, block + after);
      EXPECT_EQ(testing::checkDeleted(text, 0, out), "");
    }
  }
}

TEST(Statements, WhatLooksLikeAHeaderButIsNone) {
  struct Case {
    std::string text;
    V statements;
    V listed;
  };
  const Case cases[] = {
      {"#define DIALOG_OK \"OK\"\r\n#define IDI_X ICON",
       {"D:#define DIALOG_OK \"OK\"", "D:#define IDI_X ICON"},
       {}},
      // Header statements of a dialog are the dialog's, whatever word follows theirs.
      {"D DIALOG 0, 0, 9, 9\r\nCAPTION DIALOG_TITLE\r\nFONT 8, \"MS Shell Dlg\"\r\n"
       "MENU IDR_MENU\r\nBEGIN\r\nEND",
       {"R:D DIALOG 0, 0, 9, 9\r\nCAPTION DIALOG_TITLE\r\nFONT 8, \"MS Shell Dlg\"\r\n"
        "MENU IDR_MENU\r\nBEGIN\r\nEND"},
       {"D D"}},
      // A type word that only starts with a keyword is a type of its own.
      {"X ICONS \"x.bin\"\r\nY DIALOGS \"y\"", {"R:X ICONS \"x.bin\"", "R:Y DIALOGS \"y\""}, {}},
      {"//IDI_X ICON \"x.ico\"", {"C://IDI_X ICON \"x.ico\""}, {}},
      // A name is a word or a number.
      {"& ICON \"w.ico\"", {"O:& ICON \"w.ico\""}, {}},
      // Statement words name no resource.
      {"BEGIN ICON \"b\"\r\nLANGUAGE ICON", {"O:BEGIN ICON \"b\"", "L!:LANGUAGE ICON"}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(statements(c.text), c.statements) << c.text;
    EXPECT_EQ(listed(c.text), c.listed) << c.text;
  }
}

TEST(ResourceIndex, EveryResourceStatementAndStringTableWithItsLanguage) {
  struct Case {
    std::string text;
    V entries;
  };
  const Case cases[] = {
      // Every kind; a numbered or user-defined type shows its own word, RT_MANIFEST is 24.
      {"M MENU\r\n{\r\n}\r\nX MENUEX\r\n{\r\n}\r\nK ACCELERATORS\r\n{\r\n}\r\n"
       "R RCDATA \"r.bin\"\r\nP PNG \"p.png\"\r\n4 240 \"w\"\r\nT \"MYTYPE\" \"t\"\r\n"
       "1 RT_MANIFEST \"a.manifest\"\r\nH HTML \"h.htm\"",
       {"1 24", "4 240", "H HTML", "K A", "M M", "P PNG", "R RCDATA", "T \"MYTYPE\"", "X MENUEX"}},
      // A string table is named by its first and last ID as written.
      {"STRINGTABLE\r\nBEGIN\r\n  IDS_A, \"a\"\r\n  IDS_B L\"b\" \"c\"\r\n  IDS_C+1 "
       "\"d\"\r\nEND\r\n"
       "STRINGTABLE { 7 \"x\" }\r\nSTRINGTABLE { }\r\nSTRINGTABLE { 12 \"a\" 14 \"b\" }",
       {"7 S", "12..14 S", "(vuota) S", "IDS_A..IDS_C+1 S"}},
      // The language of the LANGUAGE statement before, or of the resource's own.
      {"LANGUAGE LANG_ITALIAN, SUBLANG_NEUTRAL\r\nA MENU\r\n{\r\n}\r\n"
       "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\r\nB MENU\r\n{\r\n}\r\n"
       "STRINGTABLE\r\nLANGUAGE LANG_GERMAN, SUBLANG_GERMAN_SWISS\r\n{ 1 \"x\" }\r\n"
       "LANGUAGE 0, 0\r\nC MENU\r\n{\r\n}\r\nLANGUAGE LANG_PORTUGUESE, 2\r\nD MENU { }\r\n"
       "LANGUAGE 0x10, FOO\r\nE MENU { }\r\n"
       "F DIALOG 0, 0, 9, 9\r\nCAPTION \"x\"\r\nLANGUAGE LANG_FRENCH, SUBLANG_FRENCH\r\n{\r\n}",
       {"1 S/de-CH", "A M/it", "B M/en-US", "C M", "D M/pt-PT", "E M/0x10,FOO", "F D/fr"}},
  };
  for (const Case& c : cases) EXPECT_EQ(entries(c.text), c.entries) << c.text;
  // The six kinds only, as the list shows them on request.
  EXPECT_EQ(listed("M MENU\r\n{\r\n}\r\nI ICON \"i\""), (V{"I I"}));
}

TEST(Statements, CommentsHideAndSplitNothing) {
  const std::string commentedOut = "B ICON \"b.ico\"\r\n/*\r\nA ICON \"a.ico\"\r\n*/";
  const std::string dialog =
      "D DIALOG 0, 0, 9, 9\r\nCAPTION \"Folder\" //comment\r\nBEGIN // {\r\nEND";
  expectStatements({
      {commentedOut, {"R:B ICON \"b.ico\"", "C:/*\r\nA ICON \"a.ico\"\r\n*/"}},
      {dialog, {"R:" + dialog}},
      // Between an image's header and its body.
      {"A ICON\r\n/* c */\r\n{\r\n '00'\r\n}\r\nB ICON \"b\"",
       {"R:A ICON\r\n/* c */\r\n{\r\n '00'\r\n}", "R:B ICON \"b\""}},
      {"A ICON /* \"x\" */ \"a.ico\"", {"R:A ICON /* \"x\" */ \"a.ico\""}},
      // A "//" inside a body's string is no comment, an END inside a comment no END.
      {"A RCDATA\r\n{\r\n \"//\" /* } END */\r\n}",
       {"R:A RCDATA\r\n{\r\n \"//\" /* } END */\r\n}"}},
  });
  EXPECT_EQ(listed(commentedOut), (V{"B I"}));
  EXPECT_EQ(listed(dialog), (V{"D D"}));
  // The commented-out icon stays in its comment through a reorder.
  const std::string reordered = reorderScript(commentedOut);
  EXPECT_EQ(reordered, commentedOut);
  EXPECT_EQ(testing::checkReorder(commentedOut, reordered), "");
}

TEST(ResourceIndex, TypeKeywordsInAnyCaseAndNumbersForNames) {
  struct Case {
    std::string text;
    V listed;
  };
  const Case cases[] = {
      {"4465 CUrsoR \"c.cur\"\r\n100 iCon \"i.ico\"\r\nb bitmap \"b.bmp\"\r\nV versionINFO\r\n"
       "{\r\n}\r\nD DialogEx 0, 0, 1, 1\r\n{\r\n}",
       {"100 I", "4465 C", "b B", "D D", "V VI"}},
      {"1 RT_MANIFEST \"x.manifest\"\r\n2 24 \"y\"\r\n3 rt_manifest \"z\"\r\n4 240 \"w\"",
       {"1 24", "2 24", "3 24"}},
      // Numbers by value before words; words without regard to case, then by type code.
      {"19 ICON \"a\"\r\n10 ICON \"a\"\r\n2 ICON \"a\"\r\n0x1 ICON \"a\"\r\n_ ICON \"a\"\r\n"
       "abd ICON \"a\"\r\nABC DIALOG 0,0,1,1\r\n{\r\n}\r\nabc ICON \"a\"",
       {"0x1 I", "2 I", "10 I", "19 I", "ABC D", "abc I", "abd I", "_ I"}},
      // Indented, or aligned with tabs.
      {" A ICON \"a\"\r\n\tB  \t ICON \"b\"", {"A I", "B I"}},
      // Namesakes all stand, in text order.
      {"X ICON \"1\"\r\nx ICON \"2\"\r\nX ICON \"3\"", {"X I", "x I", "X I"}},
  };
  for (const Case& c : cases) EXPECT_EQ(listed(c.text), c.listed) << c.text;
  const ResourceIndex index = indexResources("X ICON \"1\"\r\nx ICON \"2\"\r\nX ICON \"3\"");
  ASSERT_EQ(index.size(), 3u);
  EXPECT_EQ(index[0].offset, 0u);
  EXPECT_EQ(index[1].offset, 12u);
  EXPECT_EQ(index[2].offset, 24u);
}

TEST(ResourceIndex, CompareNames) {
  struct Case {
    std::string_view a, b;
    int sign;
  };
  // Numbers (decimal or hex, an L or U after them) by value before words; a number too big, or
  // with other letters after its digits, is a word.
  const Case cases[] = {{"2", "10", -1},         {"0x10", "15", 1},       {"0X10", "17", -1},
                        {"16L", "17", -1},       {"99", "A", -1},         {"Args", "ARGS", 0},
                        {"_", "Z", 1},           {"AB", "ABC", -1},       {"", "A", -1},
                        {"4294967295", "A", -1}, {"4294967296", "A", -1}, {"4294967296", "5", 1},
                        {"1x", "2", 1}};
  for (const Case& c : cases) {
    const int got = compareNames(c.a, c.b);
    EXPECT_EQ((got > 0) - (got < 0), c.sign) << c.a << " vs " << c.b;
    const int back = compareNames(c.b, c.a);
    EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " vs " << c.a;
  }
  EXPECT_TRUE(sameName("Args", "ARGS"));
  EXPECT_FALSE(sameName("Args", "ARG"));
}

TEST(Statements, LanguageInsideAHeaderAndAtTheTopLevel) {
  expectStatements({
      // Before the body: the resource's own.
      {"1 MENU\r\nLANGUAGE 4, 7\r\n{\r\n MENUITEM \"a\", 1\r\n}",
       {"R:1 MENU\r\nLANGUAGE 4, 7\r\n{\r\n MENUITEM \"a\", 1\r\n}"}},
      {"STRINGTABLE\r\nLANGUAGE 9, 1\r\nBEGIN\r\nEND",
       {"T:STRINGTABLE\r\nLANGUAGE 9, 1\r\nBEGIN\r\nEND"}},
      // After a complete resource: its own statement.
      {"A ICON \"a.ico\"\r\nLANGUAGE 9, 1\r\nB ICON \"b.ico\"",
       {"R:A ICON \"a.ico\"", "L:LANGUAGE 9, 1", "R:B ICON \"b.ico\""}},
      {"M MENU\r\nBEGIN\r\nEND\r\nLANGUAGE 9, 1", {"R:M MENU\r\nBEGIN\r\nEND", "L:LANGUAGE 9, 1"}},
      // A header whose body never comes ends before it.
      {"D DIALOG 0, 0, 1, 1\r\nLANGUAGE 9, 1\r\nB ICON \"b\"",
       {"R!:D DIALOG 0, 0, 1, 1", "L:LANGUAGE 9, 1", "R:B ICON \"b\""}},
  });
}

TEST(Statements, PreprocessorLinesInsideAStatement) {
  const std::string version =
      "V VERSIONINFO\r\n FILEVERSION 1,0,0,1\r\n#ifdef _DEBUG\r\n FILEFLAGS 0x1L\r\n#else\r\n"
      " FILEFLAGS 0x0L\r\n#endif\r\n FILEOS 0x4L\r\nBEGIN\r\n BLOCK \"S\"\r\n BEGIN\r\n END\r\nEND";
  expectStatements({
      // Whole conditional sections: it can move as it is.
      {version + "\r\nA ICON \"a\"", {"R:" + version, "R:A ICON \"a\""}},
      {"D DIALOG 0,0,1,1\r\nBEGIN\r\n#if X\r\n CONTROL 1\r\n#endif\r\nEND",
       {"R:D DIALOG 0,0,1,1\r\nBEGIN\r\n#if X\r\n CONTROL 1\r\n#endif\r\nEND"}},
      // Any other preprocessor line, or a section it does not close, ties it to its place.
      {"D DIALOG 0,0,1,1\r\nBEGIN\r\n#define X 1\r\nEND",
       {"R~:D DIALOG 0,0,1,1\r\nBEGIN\r\n#define X 1\r\nEND"}},
      {"D DIALOG 0,0,1,1\r\nBEGIN\r\n#endif\r\nEND",
       {"R~:D DIALOG 0,0,1,1\r\nBEGIN\r\n#endif\r\nEND"}},
      {"D DIALOG 0,0,1,1\r\nBEGIN\r\n#else\r\n#endif\r\nEND",
       {"R~:D DIALOG 0,0,1,1\r\nBEGIN\r\n#else\r\n#endif\r\nEND"}},
      {"D DIALOG 0,0,1,1\r\n#if X\r\nBEGIN\r\nEND",
       {"R~:D DIALOG 0,0,1,1\r\n#if X\r\nBEGIN\r\nEND"}},
      {"STRINGTABLE\r\nBEGIN\r\n#include \"s.h\"\r\nEND",
       {"T~:STRINGTABLE\r\nBEGIN\r\n#include \"s.h\"\r\nEND"}},
      // A '#' inside a body line is no preprocessor line.
      {"A RCDATA\r\n{\r\n \"#if\", 1 # 2\r\n}", {"R:A RCDATA\r\n{\r\n \"#if\", 1 # 2\r\n}"}},
  });
}

TEST(Statements, AnOpenStatementEndsAtTheNextLineThatStartsOne) {
  expectStatements({
      {"D DIALOG 0,0,9,9\r\nBEGIN\r\n CONTROL \"a\", 1\r\n\r\nB ICON \"b\"",
       {"R!~:D DIALOG 0,0,9,9\r\nBEGIN\r\n CONTROL \"a\", 1", "R:B ICON \"b\""}},
      {"D DIALOG 0,0,9,9\r\n{\r\n{\r\n}\r\nSTRINGTABLE\r\n{\r\n}",
       {"R!~:D DIALOG 0,0,9,9\r\n{\r\n{\r\n}", "T:STRINGTABLE\r\n{\r\n}"}},
      // A preprocessor or LANGUAGE line inside ends it too.
      {"D DIALOG 0,0,9,9\r\nBEGIN\r\n CONTROL\r\n#endif\r\nB ICON \"b\"",
       {"R!~:D DIALOG 0,0,9,9\r\nBEGIN\r\n CONTROL", "D:#endif", "R:B ICON \"b\""}},
      {"D DIALOG 0,0,9,9\r\nBEGIN\r\nLANGUAGE 9, 1\r\nB ICON \"b\"",
       {"R!~:D DIALOG 0,0,9,9\r\nBEGIN", "L:LANGUAGE 9, 1", "R:B ICON \"b\""}},
      // Nothing ends it: it runs to the end, its trailing white space left out.
      {"D DIALOG 0,0,9,9\r\nBEGIN\r\n CONTROL \r\n\r\n",
       {"R!~:D DIALOG 0,0,9,9\r\nBEGIN\r\n CONTROL"}},
      // A header that never opens a body, or names no file.
      {"M MENU\r\nB ICON \"b\"", {"R!:M MENU", "R:B ICON \"b\""}},
      {"A ICON\r\n#if X\r\n", {"R!:A ICON", "D:#if X"}},
      {"A ICON", {"R!:A ICON"}},
  });
}

TEST(Statements, AnOpenBodyEndsBeforeAResourceWithANumberForName) {
  expectStatements({
      {"D DIALOG 0,0,1,1\r\nBEGIN\r\n\r\n1 ICON \"a.ico\"",
       {"R!~:D DIALOG 0,0,1,1\r\nBEGIN", "R:1 ICON \"a.ico\""}},
  });
}

TEST(Statements, AnOpenBodyEndsBeforeVersionAndCharacteristics) {
  expectStatements({
      {"D DIALOG 0,0,1,1\r\nBEGIN\r\nVERSION 1\r\nA ICON \"a\"",
       {"R!~:D DIALOG 0,0,1,1\r\nBEGIN", "V:VERSION 1", "R:A ICON \"a\""}},
  });
}

// Inside a body, BEGIN and END count in any case, first on a line or after another word, and a
// first word that only holds their letters (NEND, ENDING, BEGINS, 2N, STRINGTABLE) counts
// nothing.
TEST(Statements, BeginAndEndFirstOnALineInsideABody) {
  expectStatements({
      {"M MENU\r\nBEGIN\r\nNEND x\r\nENDING\r\nbegin\r\n BEGINS END\r\n2N\r\nEnD\r\n"
       "eNd\r\nB ICON \"b\"",
       {"R:M MENU\r\nBEGIN\r\nNEND x\r\nENDING\r\nbegin\r\n BEGINS END\r\n2N\r\nEnD", "O:eNd",
        "R:B ICON \"b\""}},
      // An END closes a brace as a "}" would.
      {"M MENU\r\n{\r\nSTRINGTABLE END }\r\n}", {"R:M MENU\r\n{\r\nSTRINGTABLE END", "O:}", "O:}"}},
  });
}

// Inside a body a preprocessor line is seen as the lexer sees it: after a comment on its line,
// or after a lone line feed.
TEST(Statements, APreprocessorLineInsideABodyAfterACommentOrALoneLineFeed) {
  expectStatements({
      {"D DIALOG 0,0,1,1\r\nBEGIN\r\n/* c */ #define X 1\r\nEND",
       {"R~:D DIALOG 0,0,1,1\r\nBEGIN\r\n/* c */ #define X 1\r\nEND"}},
      {"A C{\r\n\n#define X\r\n}", {"R~:A C{\r\n\n#define X\r\n}"}},
      {"A C{ /* a\r\n b */ #define X\r\n}", {"R~:A C{ /* a\r\n b */ #define X\r\n}"}},
  });
}

// A value left open (a parenthesis, a missing value) leaves its statement open, and what stops
// it (a preprocessor line, a comment) stands as a statement of its own.
TEST(Statements, AValueLeftOpen) {
  expectStatements({
      {"LANGUAGE(//", {"L!:LANGUAGE(", "C://"}},
      {"LANGUAGE(\r\n#", {"L!:LANGUAGE(", "D:#"}},
      {"LANGUAGE 9,\r\n", {"L!:LANGUAGE 9,"}},
      {"LANGUAGE 9, 1\r\n", {"L:LANGUAGE 9, 1"}},
  });
}

TEST(Statements, WhatAResourceHoldsAfterItsHeader) {
  // Each statement's content: its body's delimiters, or "file" and the file name's first token.
  const std::string text =
      "A ICON PRELOAD\r\nLANGUAGE 9,\r\n 1\r\nbegin\r\n '{' /* END */ \"}\"\r\nEnd // x\r\n"
      "B BITMAP DISCARDABLE \"b.bmp\"\r\n"
      "C CURSOR\r\n\"c.cur\"\r\n"
      "D DIALOG 0, 0, 10, 10\r\nSTYLE 0\r\n{ CONTROL \"\", 1, \"x\", 0, 0, 0, 1, 1 }\r\n"
      "STRINGTABLE { 1, \"}\" }\r\n"
      "LANGUAGE 9, 1\r\n"
      "E ICON res\\e.ico\r\n"
      "F ICON\r\n{\r\n '00'\r\n";
  V seen;
  for (const Statement& s : readStatements(text)) {
    const ResourceContent c = resourceContent(text, s);
    std::string shown;
    if (c.opener) shown += c.opener->of(text);
    if (c.closer) shown += ".." + std::string(c.closer->of(text));
    if (c.fileName) shown += "file " + std::string(c.fileName->of(text));
    seen.push_back(shown);
  }
  EXPECT_EQ(seen, (V{"begin..End", "", "file \"b.bmp\"", "file \"c.cur\"", "{..}", "{..}", "",
                     "file res", "{"}));
}

// Whatever the bytes, nothing crashes and the statements cover the text.
TEST(Statements, AnyTextIsCovered) {
  std::string nested = "D DIALOG 0,0,1,1\r\n";
  for (int i = 0; i < 100000; ++i) nested += "BEGIN\r\n";
  std::string braces = "D DIALOG 0,0,1,1\r\n" + std::string(100000, '{');
  std::string parens = "LANGUAGE " + std::string(100000, '(');
  std::string longLine;
  std::size_t pairs = 0;
  for (; longLine.size() < 2'000'000; ++pairs) longLine += "A ICON \"a.ico\" X DIALOG 0,0,1,1 { } ";
  std::string longWord = std::string(2'000'000, 'N') + " ICON \"n\"";
  std::string manyOnALine;
  while (manyOnALine.size() < 2'000'000) manyOnALine += "I ICON \"i\"\n";
  const std::string nul("A ICON \"a\0b\"\r\n\0\0\r\nB\0ICON \"b\"\r\n{\0}", 33);
  const std::string inputs[] = {
      nested,
      braces,
      parens,
      longLine,
      longLine + "\r\nB ICON \"b\"",
      longWord,
      manyOnALine,
      nul,
      "A ICON \"a\"\r\n/* never closed\r\nB ICON \"b\"",
      "A ICON \"never closed\r\nB ICON \"b.ico",
      "A RCDATA\r\n{\r\n \"never closed }\r\nEND\r\n",
      "A ICON \"a\"\rB ICON \"b\"\nC ICON \"c\"\r\rD DIALOG\n0,0,1,1\r{\n}\r\n\n",
      "\r\r\r\n\n\n",
      "#define A \\",
      "#if X /* never closed",
      "A ICON\r\nLANGUAGE",
      "A ICON\r\nLANGUAGE 9,",
      "1 MENU\r\nLANGUAGE (1,\r\n{\r\n}",
      "STRINGTABLE",
      "STRINGTABLE\r\n{",
      "}}}\r\nEND END\r\n{",
      "'",
      "\"",
      "/",
      "#",
  };
  for (const std::string& text : inputs) {
    statements(text);
    indexResources(text);
  }
  // Statements one after another on one line are each read.
  EXPECT_EQ(indexResources(longLine + "\r\nB ICON \"b\"").size(), 2 * pairs + 1);
  EXPECT_EQ(indexResources(manyOnALine).size(), manyOnALine.size() / 11);
  EXPECT_EQ(listed(nul), (V{"A I"}));
}

TEST(Statements, LoneCrAndLfAreWhiteSpaceNotLineEnds) {
  expectStatements({
      // After a file name, a statement on the same line still starts.
      {"A ICON \"a\"\nB ICON \"b\"", {"R:A ICON \"a\"", "R:B ICON \"b\""}},
      // A header's name and type must stand on one line, and a lone LF keeps them so.
      {"A\nICON \"a\"", {"R:A\nICON \"a\""}},
      {"A\r\nICON \"a\"", {"O:A", "O:ICON \"a\""}},
      // A body's lines: a lone CR starts none.
      {"D DIALOG 0,0,1,1\r\nBEGIN\r\n X\rB ICON \"b\"\r\n",
       {"R!~:D DIALOG 0,0,1,1\r\nBEGIN\r\n X\rB ICON \"b\""}},
  });
}

TEST(ResourceIndex, Utf16AndLfFilesReadAsTheirUtf8CrLfText) {
  const auto utf16le = [](std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) bytes += {c, '\0'};
    return bytes;
  };
  const std::string script = "A ICON \"a\"\nB DIALOG 0, 0, 1, 1\n{\n}\n";
  for (const std::string& bytes : {utf16le(script), script}) {
    const std::string text = fromDisk(bytes).text;
    EXPECT_EQ(listed(text), (V{"A I", "B D"}));
    EXPECT_EQ(statements(text), (V{"R:A ICON \"a\"", "R:B DIALOG 0, 0, 1, 1\r\n{\r\n}"}));
  }
  // Mixed line ends are kept as read: a lone LF is no line end.
  const std::string mixed =
      fromDisk("A ICON \"a\"\r\nB DIALOG 0,0,1,1\n{\n}\r\nC ICON \"c\"\n").text;
  EXPECT_EQ(statements(mixed), (V{"R:A ICON \"a\"", "R:B DIALOG 0,0,1,1\n{\n}", "R:C ICON \"c\""}));
}

// The file name of a statement that names a file, as written.
TEST(Statements, AFileNameAsWritten) {
  const auto nameOf = [](std::string_view text) {
    const std::vector<Statement> statements = readStatements(text);
    const auto first = resourceContent(text, statements.front()).fileName;
    return first ? fileNameAsWritten(text, statements.front(), *first) : WrittenFileName{};
  };
  const WrittenFileName quoted = nameOf("A ICON \"res\\\\a b.ico\" // x");
  EXPECT_EQ(quoted.text, "\"res\\\\a b.ico\"");
  EXPECT_TRUE(quoted.quoted);
  // Without quotes: the tokens that touch one another, up to a blank, a comment or the end.
  const std::pair<std::string_view, std::string_view> unquoted[] = {
      {"A ICON ..\\res\\app.ico", "..\\res\\app.ico"},
      {"A ICON res/app.ico", "res/app.ico"},
      {"A ICON app.ico // the icon", "app.ico"},
      {"A ICON app.ico/* x */b", "app.ico"},
      {"A ICON PRELOAD app.ico\r\nB ICON b.ico", "app.ico"},
      {"A ICON 'a.ico'", "'a.ico'"},  // an apostrophe string is no quoted name
      {"A ICON L\"a.ico\"", "L\"a.ico\""},
  };
  for (const auto& [text, name] : unquoted) {
    const WrittenFileName written = nameOf(text);
    EXPECT_EQ(written.text, name) << text;
    EXPECT_FALSE(written.quoted) << text;
  }
}

// The look for a header statement's keyword among a header's tokens, before the body.
TEST(Statements, AHeaderHoldsAWordOnlyAsCodeBeforeItsBody) {
  const auto holds = [](std::string_view text) {
    const std::vector<Statement> statements = readStatements(text);
    for (const Statement& s : statements)
      if (s.kind == StatementKind::Resource || s.kind == StatementKind::StringTable)
        return headerHoldsWord(text, s, "LANGUAGE");
    return false;
  };
  EXPECT_TRUE(holds("D DIALOG 0, 0, 10, 10\r\nlanguage 9, 1\r\n{\r\n}"));
  EXPECT_TRUE(holds("STRINGTABLE LANGUAGE 9, 1\r\nBEGIN\r\n 1, \"a\"\r\nEND"));
  EXPECT_TRUE(holds("A ICON LANGUAGE 9, 1 \"a.ico\""));
  const std::string_view without[] = {
      "D DIALOG 0, 0, 10, 10 // LANGUAGE 9, 1\r\n{\r\n}",
      "D DIALOG 0, 0, 10, 10 /* LANGUAGE\r\n 9, 1 */\r\n{\r\n}",
      "D DIALOG 0, 0, 10, 10\r\nCAPTION \"LANGUAGE\"\r\n{\r\n}",
      "D DIALOG 0, 0, 10, 10\r\nLANGUAGES 9\r\n{\r\n}",                              // another word
      "D DIALOG 0, 0, 10, 10\r\n{\r\n LTEXT \"\", 1, 0, 0, 1, 1\r\n LANGUAGE\r\n}",  // in the body
      "M MENU BEGIN MENUITEM \"x\", 1 END\r\nLANGUAGE 9, 1",  // a statement of its own after it
      "LANGUAGE 9, 1",                                        // no resource
  };
  for (const std::string_view text : without) EXPECT_FALSE(holds(text)) << text;
}

}  // namespace
}  // namespace kolvre
