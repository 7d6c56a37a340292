#include "document/scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "document/languages.h"
#include "support/corpus.h"
#include "syntax/conditionals.h"
#include "syntax/statements.h"

namespace kolvre {
namespace {

// The index updated from `before` to `after` is the index read from `after`, for both kinds
// of list.
void expectUpdatedAsRead(const std::string& before, const std::string& after) {
  for (const ListedKinds kinds : {ListedKinds::All, ListedKinds::CreatableOnly}) {
    const std::vector<Statement> was = readStatements(before);
    const std::vector<Statement> is = readStatements(after);
    ResourceIndex index = indexResources(before, was, kinds);
    updateIndex(index, before, was, after, is, kinds);
    ASSERT_EQ(index, indexResources(after, is, kinds)) << "from:\n" << before << "\nto:\n" << after;
  }
}

const std::string kScript =
    "LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN\r\n"
    "B ICON \"b.ico\"\r\n"
    "A ICON \"a.ico\"\r\n"
    "10 DIALOG 0, 0, 10, 10\r\nBEGIN\r\nEND\r\n"
    "STRINGTABLE\r\nBEGIN\r\n  101 \"a\"\r\n  102 \"b\"\r\nEND\r\n"
    "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\r\n"
    "A ICON \"a-en.ico\"\r\n"
    "M MENU\r\nLANGUAGE LANG_GERMAN, SUBLANG_GERMAN\r\nBEGIN\r\n  MENUITEM \"x\", 1\r\nEND\r\n"
    "9 PNG \"nine.png\"\r\n";

// The index's order is compareNames, then the type's code, then the text order, for names that
// share their first eight bytes or differ only past them, numbers of one value written apart,
// letter case and high bytes.
TEST(IndexOrder, NamesSortByCompareNamesThenCodeThenPlace) {
  const std::vector<std::string> names = {
      "abcdefghi", "ABCDEFGHH", "abcdefgh", "ABCDEFGH",   "abcdefg",      "10",       "0xA",
      "0XA",       "10L",       "9",        "4294967295", "4294967296",   "ab",       "AB",
      "AB\x80",    "\xFF",      "Z",        "_",          "abcdefgh\xE9", "ABCDEFGH_"};
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    text += names[i] + (i % 3 == 0 ? " ICON \"x.ico\"\r\n" : " PNG \"x.png\"\r\n");
    text += names[i] + " BITMAP \"x.bmp\"\r\n";
  }
  const ResourceIndex index = indexResources(text);
  ASSERT_EQ(index.size(), names.size() * 2);
  ResourceIndex expected = index;
  std::sort(expected.begin(), expected.end(), [](const IndexEntry& a, const IndexEntry& b) {
    if (const int c = compareNames(a.name, b.name); c != 0) return c < 0;
    if (a.code() != b.code()) return a.code() < b.code();
    return a.offset < b.offset;
  });
  EXPECT_EQ(index, expected);
}

// A string table is named by its first and last ID, wherever comments, line ends and
// preprocessor lines stand among its entries; a comma is no part of an ID.
TEST(IndexNames, AStringTableIsNamedByItsFirstAndLastId) {
  const std::string text =
      "STRINGTABLE\r\nBEGIN // 0 }\r\n 101, /* 99 */ \"a\"\r\n 102\r\n \"b\" // 200\r\n"
      "#if X\r\n 103 L\"c\", 104 \"d\"\n 105 \"e\"\r\n#endif\r\nEND\r\n"
      "STRINGTABLE { IDS_ONE \"x\" }\r\nSTRINGTABLE\r\n{\r\n}\r\n";
  const std::vector<Statement> statements = readStatements(text);
  ASSERT_EQ(statements.size(), 3u);
  EXPECT_EQ(stringTableName(text, statements[0]), "101..105");
  EXPECT_EQ(stringTableName(text, statements[1]), "IDS_ONE");
  EXPECT_EQ(stringTableName(text, statements[2]), kEmptyTableName);
}

// What the index lists of a script, each entry as "name type-code language".
std::vector<std::string> listed(std::string_view text, ListedKinds kinds = ListedKinds::All) {
  std::vector<std::string> out;
  for (const IndexEntry& e : indexResources(text, kinds))
    out.push_back(e.name + " " + std::string(e.code()) + " " + e.language);
  return out;
}

// A name runs to the next blank through dashes, dots, slashes and backslashes, as both
// compilers read it; a number is one token.
TEST(IndexNames, ANameRunsThroughDashesDotsAndSlashes) {
  EXPECT_EQ(
      listed("name-with-dashes/and/slashes RCDATA { \"foo\" }\r\n"
             "res.dir\\app-1 ICON \"app.ico\"\r\n"
             "1-2 RCDATA { \"x\" }\r\n"),
      (std::vector<std::string>{"name-with-dashes/and/slashes RCDATA ", "res.dir\\app-1 I "}));
}

// In preprocessed input the text of a header, from a line marker naming it to the next line
// marker naming another file, is no resource, whatever it looks like.
TEST(IndexNames, AHeadersTextInPreprocessedInputIsNotListed) {
  const std::string text =
      "#line 1 \"app.rc\"\r\n#line 1 \"resource.h\"\r\nextern int table;\r\n"
      "H ICON \"h.ico\"\r\n# 3 \"app.rc\" 2\r\n1 ICON \"a.ico\"\r\n"
      "# 1 \"x.HPP\" 1\r\nSTRINGTABLE { 1 \"s\" }\r\n#line 8\r\nX ICON \"x.ico\"\r\n"
      "#line 40 \"dialogs.dlg\"\r\n2 ICON \"b.ico\"\r\n";
  for (const ListedKinds kinds : {ListedKinds::All, ListedKinds::CreatableOnly})
    EXPECT_EQ(listed(text, kinds), (std::vector<std::string>{"1 I ", "2 I "}));
  // Editing a line marker turns what follows it into a header's text and back.
  const auto replaced = [&](std::string_view what, std::string_view with) {
    std::string edited = text;
    return edited.replace(edited.find(what), what.size(), with);
  };
  for (const std::string& after :
       {replaced("\"app.rc\" 2", "\"app.h\" 2"), replaced("\"resource.h\"", "\"resource.rc\""),
        replaced("#line 40", "//line 40")}) {
    expectUpdatedAsRead(text, after);
    expectUpdatedAsRead(after, text);
  }
}

// A LANGUAGE statement in a resource's header, its body opening on the same line.
TEST(IndexNames, ALanguageInTheHeaderBeforeTheBodyOnItsLine) {
  EXPECT_EQ(listed("1 DIALOG LANGUAGE 4, 7 {\r\n}\r\n2 MENU LANGUAGE 9,1 { MENUITEM \"a\", 1 }"
                   "\r\n"),
            (std::vector<std::string>{"1 D zh-7", "2 M en-US"}));
}

TEST(IndexUpdate, EditsOfEveryReachGiveTheIndexOfTheNewText) {
  const auto replaced = [](std::string text, std::string_view what, std::string_view with) {
    return text.replace(text.find(what), what.size(), with);
  };
  const std::string edits[] = {
      replaced(kScript, "B ICON", "Z ICON"),          // a rename that moves the entry
      replaced(kScript, "A ICON \"a.ico\"\r\n", ""),  // a delete
      replaced(kScript, "9 PNG", "9 PNG \"x\"\r\nC ICON"),
      replaced(kScript, "101 \"a\"", "99 \"a\""),  // a string table's name
      replaced(kScript, "LANGUAGE LANG_ENGLISH", "LANGUAGE LANG_FRENCH"),
      replaced(kScript, "SUBLANG_GERMAN", "SUBLANG_GERMAN_SWISS"),
      replaced(kScript, "END\r\nSTRINGTABLE", "\r\nSTRINGTABLE"),  // a body left open
      replaced(kScript, "10 DIALOG", "/* 10 DIALOG"),  // a comment left open takes the rest
      // Blocks moved: to the end, and a namesake past its namesake.
      replaced(kScript, "B ICON \"b.ico\"\r\n", "") + "B ICON \"b.ico\"\r\n",
      replaced(replaced(kScript, "A ICON \"a-en.ico\"\r\n", ""), "B ICON",
               "A ICON \"a-en.ico\"\r\nB ICON"),
      kScript + "A ICON \"again.ico\"\r\n",  // a namesake at the end
      "A ICON \"first.ico\"\r\n" + kScript,  // ... and at the start
      std::string(),
  };
  for (const std::string& after : edits) {
    expectUpdatedAsRead(kScript, after);
    expectUpdatedAsRead(after, kScript);
  }
}

// Resources in a branch the compiler skips are listed after their active namesakes, marked.
TEST(IndexInactive, SkippedBranchesAreMarkedAndFollowTheirNamesakes) {
  const std::string text =
      "#ifdef _WIN64\r\nX ICON \"x64.ico\"\r\n#else\r\nX ICON \"x.ico\"\r\n#endif\r\n"
      "#if 0\r\nA ICON \"a.ico\"\r\n#endif\r\nB ICON \"b.ico\"\r\n";
  const ResourceIndex index = indexResources(text);
  ASSERT_EQ(index.size(), 4u);
  EXPECT_EQ(index[0].name, "A");
  EXPECT_TRUE(index[0].inactive);
  EXPECT_FALSE(index[1].inactive);  // B
  EXPECT_EQ(index[2].name, "X");
  EXPECT_EQ(index[2].offset, text.find("X ICON \"x.ico\""));
  EXPECT_FALSE(index[2].inactive);
  EXPECT_EQ(index[3].offset, text.find("X ICON \"x64.ico\""));
  EXPECT_TRUE(index[3].inactive);
  // A definition added, changed or taken away moves the flags of the resources after it.
  const std::string defined = "#define _WIN64\r\n" + text;
  expectUpdatedAsRead(text, defined);
  expectUpdatedAsRead(defined, text);
  const std::string zero = "#define V 0\r\n#if V\r\nC ICON \"c.ico\"\r\n#endif\r\n" + text;
  std::string one = zero;
  one.replace(one.find("V 0"), 3, "V 1");
  expectUpdatedAsRead(zero, one);
  expectUpdatedAsRead(one, zero);
}

// A LANGUAGE statement in a skipped branch sets the language only of what is skipped; a resource's
// own LANGUAGE stands wherever the resource does.
TEST(IndexInactive, ALanguageInASkippedBranchSetsOnlyWhatIsSkipped) {
  const std::string text =
      "LANGUAGE 9, 1\r\n#ifdef UNDER_CE\r\nLANGUAGE 7, 1\r\n1 RCDATA { 1 }\r\n#endif\r\n"
      "2 RCDATA { 2 }\r\n#ifndef UNDER_CE\r\nLANGUAGE 0x10, 1\r\n#endif\r\n3 RCDATA { 3 }\r\n"
      "#if 0\r\n4 RCDATA LANGUAGE 7, 1 { 4 }\r\n#endif\r\n";
  EXPECT_EQ(listed(text), (std::vector<std::string>{"1 RCDATA de", "2 RCDATA en-US", "3 RCDATA it",
                                                    "4 RCDATA de"}));
  const std::vector<std::string> tags =
      statementLanguages(text, readStatements(text), skippedStatements(text, readStatements(text)));
  EXPECT_EQ(std::count(tags.begin(), tags.end(), "en-US"), 1);
  // An edit that keeps or skips a LANGUAGE statement changes the languages after it.
  std::string kept = text;
  kept.replace(kept.find("#ifdef UNDER_CE"), 15, "#ifndef UNDER_CE");
  expectUpdatedAsRead(text, kept);
  expectUpdatedAsRead(kept, text);
  const std::string defined = "#define UNDER_CE\r\n" + text;
  expectUpdatedAsRead(text, defined);
  expectUpdatedAsRead(defined, text);
}

TEST(IndexUpdate, ABlockMovedAcrossManyGivesTheIndexOfTheNewText) {
  std::string text;
  for (int i = 0; i < 600; ++i)
    text += "N" + std::to_string(i % 300) + " ICON \"" + std::to_string(i) + ".ico\"\r\n";
  const std::string block = "N0 ICON \"0.ico\"\r\n";
  const std::string moved = text.substr(block.size()) + block;
  expectUpdatedAsRead(text, moved);
  expectUpdatedAsRead(moved, text);
  // Two blocks moved, far apart.
  std::string twice = moved;
  const std::string other = "N5 ICON \"305.ico\"\r\n";
  twice.erase(twice.find(other), other.size());
  twice.insert(0, other);
  expectUpdatedAsRead(text, twice);
}

TEST(IndexUpdate, RandomEditsGiveTheIndexOfTheNewText) {
  const std::string pieces[] = {"\r\n",
                                "\"",
                                "/*",
                                "*/",
                                "{",
                                "}",
                                "END",
                                "BEGIN",
                                "#if 0\r\n",
                                "LANGUAGE 9, 1\r\n",
                                "X ICON \"x\"\r\n",
                                "1",
                                " ",
                                "STRINGTABLE"};
  std::mt19937 random(7);
  std::string text = kScript;
  for (int round = 0; round < 500 && !HasFailure(); ++round) {
    std::string after = text;
    const std::size_t at = random() % (after.size() + 1);
    if (random() % 2 == 0 && at < after.size())
      after.erase(at, 1 + random() % 6);
    else
      after.insert(at, pieces[random() % std::size(pieces)]);
    expectUpdatedAsRead(text, after);
    text = after.size() > 3000 ? kScript : after;
  }
}

class IndexUpdateCorpus : public ::testing::TestWithParam<std::string> {};

// Each resource of a real script renamed, then the rename taken back.
TEST_P(IndexUpdateCorpus, RenamesAndTheirUndoGiveTheIndexOfTheNewText) {
  KOLVRE_CORPUS_CASE(GetParam());
  std::ifstream in(testing::kCorpusDir / GetParam(), std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  const std::vector<Statement> statements = readStatements(text);
  std::size_t tried = 0;
  for (const Statement& s : statements) {
    if (s.kind != StatementKind::Resource || tried++ > 40) continue;
    std::string after = text;
    after.replace(s.begin, s.nameEnd - s.begin, "ZZ_RENAMED");
    expectUpdatedAsRead(text, after);
    expectUpdatedAsRead(after, text);
    if (HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, IndexUpdateCorpus, ::testing::ValuesIn(testing::corpusCases()),
                         testing::corpusCaseName);

}  // namespace
}  // namespace kolvre
