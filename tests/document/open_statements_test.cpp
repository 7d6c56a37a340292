// Edits beside a statement left open (a body never closed, a file name never given, a string or
// comment that runs to the end): each either leaves every other statement reading as it did,
// goes elsewhere, or is refused with a message. Also the names the prompt takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document.h"
#include "document/name_prompt.h"
#include "document/reorder.h"
#include "document/resource_edits.h"
#include "document/statement_check.h"
#include "support/reorder_invariants.h"

namespace kolvre {
namespace {

bool keeps(std::string_view before, std::string_view after, const std::vector<Range>& rewritten,
           std::optional<std::size_t> added) {
  return keepsOtherStatements(before, readStatements(before), after, rewritten, added);
}

TEST(StatementCheck, TellsAnEditThatChangesHowANeighbourReads) {
  const std::string icons = "A ICON \"a\"\r\nB ICON \"b\"\r\n";
  // Moved: the same statements in another order.
  EXPECT_TRUE(keeps(icons, "B ICON \"b\"\r\nA ICON \"a\"\r\n", {}, 0));
  // A statement changed in a place the edit did not name.
  EXPECT_FALSE(keeps(icons, "A ICON \"a\"\r\nB ICON \"c\"\r\n", {}, 0));
  EXPECT_TRUE(keeps(icons, "A ICON \"a\"\r\nB ICON \"c\"\r\n", {{12, 22}}, 1));
  // Added: the count of new statements must match.
  EXPECT_TRUE(keeps(icons, icons + "C ICON \"c\"\r\n", {}, 1));
  EXPECT_FALSE(keeps(icons, icons + "C ICON \"c\"\r\n", {}, 2));
  // An open statement that takes in the block put after it.
  EXPECT_FALSE(keeps("X FOO\r\n", "X FOO\r\n1 24 \"m\"\r\n", {}, 1));
  // A comment left open at the end that swallows what comes after it.
  EXPECT_FALSE(keeps("A ICON \"a\" /* x", "A ICON \"a\" /* x\r\nB ICON \"b\"", {}, 1));

  EXPECT_FALSE(mayReadOtherwise(icons, readStatements(icons)));
  for (const std::string open : {"X FOO\r\n", "A ICON \"a\"", "A ICON \"a\" /* x\r\n",
                                 "D DIALOG 0,0,1,1\r\nBEGIN\r\n", "LANGUAGE 9,\r\n"})
    EXPECT_TRUE(mayReadOtherwise(open, readStatements(open))) << open;
}

// The reorder and the move of one block keep their invariants next to open statements; the
// block right after an open statement, and one that ends the text inside a comment, or a string
// a backslash continues, left open, stay where they stand.
TEST(OpenStatements, ReorderAndPlaceLeaveThemReadingAsTheyDid) {
  const std::vector<std::string> texts = {
      "X FOO\r\nB ICON \"b\"\r\nY 10 \"y\"\r\nA ICON \"a\"\r\n",
      "B ICON \"b\"\r\nA ICON \"a\" /* x",
      "B ICON \"b\"\r\nA ICON \"\\",
      "B ICON \"b\"\r\nA ICON \"",
      std::string("V\"\"\nR VERSIONINFO\0BEGIN\nEND\n1 24\"\"", 34),
      "S\"\"BEGIN\r\nP\tICON N\r\n\r\nI\tICON\"\"",
      "B ICON \"b\"\r\nA ICON LANGUAGE (\r\n#if 0\r\n\"a.ico\"\r\n#endif\r\n",
  };
  for (const std::string& text : texts) {
    EXPECT_EQ(testing::checkReorder(text, reorderScript(text)), "") << text;
    for (const Statement& s : readStatements(text)) {
      if (!s.listed) continue;
      EXPECT_EQ(testing::checkPlaced(text, s.begin, placeBlock(text, s.begin)), "") << text;
    }
  }
  EXPECT_EQ(reorderScript(texts[0]), texts[0]);
  EXPECT_EQ(reorderScript(texts[1]), texts[1]);
  EXPECT_EQ(reorderScript(texts[2]), texts[2]);
  // A string left open that no backslash continues ends with its line: its block may move.
  EXPECT_EQ(reorderScript(texts[3]), "A ICON \"\r\nB ICON \"b\"");
}

TEST(OpenStatements, ADeleteThatWouldJoinItsNeighboursIsRefused) {
  const auto deleted = [](const std::string& text, std::string_view name) {
    const ResourceIndex index = indexResources(text);
    for (std::size_t i = 0; i < index.size(); ++i)
      if (index[i].name == name) return deleteEdit(text, index, i, *entryBlock(text, index, i));
    ADD_FAILURE() << name;
    return std::optional<Edit>();
  };
  // Without R, the dialog left open would read the next line as its own.
  EXPECT_FALSE(deleted("A DIALOG\r\nR ICON{}\r\nN I N\r\nY DIALOG\r\n{\r\n}\r\n", "R"));
  // A block that shares its line: the text after it would join the statement before it.
  EXPECT_FALSE(deleted("X I I\nY BITMAP{\r\n}{", "Y"));
  // Beside an open statement that does not reach it, the delete goes ahead.
  const auto ok = deleted("A DIALOG\r\nB ICON \"b\"\r\nR ICON \"r\"\r\n", "R");
  ASSERT_TRUE(ok);
  EXPECT_EQ(applySplices("A DIALOG\r\nB ICON \"b\"\r\nR ICON \"r\"\r\n", ok->splices),
            "A DIALOG\r\nB ICON \"b\"\r\n");
}

TEST(OpenStatements, ANewBlockGoesToTheEndOrNowhere) {
  const auto put = [](const std::string& text, const std::string& block) -> std::string {
    const std::optional<Insertion> at = newBlockInsertion(text, block);
    if (!at) return "(refused)";
    return text.substr(0, at->at) + at->text + text.substr(at->replacedEnd);
  };
  // Left open itself, before D it would take D's name for its file: it goes at the end.
  EXPECT_EQ(put("B 24 \"b.manifest\"\r\n\r\nD 24 \"d.manifest\"\r\n", "C 24"),
            "B 24 \"b.manifest\"\r\n\r\nD 24 \"d.manifest\"\r\n\r\n\r\nC 24\r\n");
  // After an open statement at the end, nothing goes in without being read into it.
  EXPECT_EQ(put("X FOO\r\n", "1 24 \"m.manifest\""), "(refused)");
  EXPECT_EQ(put("A ICON \"a\" /* open", "B ICON \"b\""), "(refused)");
  const std::string text = "X FOO\r\n";
  EXPECT_FALSE(appendEdit(text, "1 24 \"m.manifest\"", "Nuova risorsa"));
}

struct Reported : DocumentObserver {
  std::optional<ResourceKey> current;
  void documentChanged(const DocumentChange& change) override { current = change.current; }
};

TEST(OpenStatements, TheBlockWrittenIsCurrentWhereItLands) {
  // An edit as text that gives the second icon the first one's name (in another case): the one
  // written is current, not its namesake.
  const std::string text = "BIRD ICON \"1\"\r\n\r\nC ICON \"2\"\r\n";
  Document doc;
  doc.load("", text);
  Reported reported;
  doc.setObserver(&reported);
  const auto block = entryBlock(doc.text(), doc.index(), 1);
  const auto edit = replaceEdit(doc.text(), doc.index(), 1, *block, "bird ICON \"2\"");
  ASSERT_TRUE(edit && doc.commit(*edit));
  ASSERT_TRUE(reported.current);
  const auto at = findEntry(doc.index(), *reported.current);
  ASSERT_TRUE(at);
  EXPECT_EQ(entryBlock(doc.text(), doc.index(), *at)->of(doc.text()), "bird ICON \"2\"");
}

TEST(NamePrompt, TakesOneWordOrNumberNotAKeywordNorANameInAnotherCase) {
  const ResourceIndex index = indexResources("abc DIALOG\r\n{\r\n}\r\n");
  const auto refusal = [&](std::string_view typed) {
    return nameRefusal(index, typed, "DIALOG", TextEncoding::Utf8);
  };
  EXPECT_EQ(refusal("ABC"), "Nome risorsa già presente.");
  // A pasted header with tabs between name and type names its type all the same.
  EXPECT_EQ(pastedTypeWord("a\t\tDIALOGEX 0,0,1,1\r\n{\r\n}"), "DIALOG");
  EXPECT_EQ(pastedTypeWord("a FOO"), "FOO");
  // The type as a pasted header may write it, in any case.
  EXPECT_EQ(nameRefusal(index, "ABC", "dialogEX", TextEncoding::Utf8),
            "Nome risorsa già presente.");
  for (std::string_view bad : {"[", "A-B", "A.B", "\"A\"", "ICON", "BEGIN", "STRINGTABLE"})
    EXPECT_EQ(refusal(bad), "Nome non ammesso: usa lettere, cifre e _, e non una parola chiave.")
        << bad;
  for (std::string_view good : {"IDD_MAIN", "101", "0x10", "_X", "CAFÈ"})
    EXPECT_EQ(refusal(good), "") << good;
}

// Statements read again only where a text changed are those read whole, for changes at the
// start, in the middle and at the end, ones that open or close a body or a comment far from
// them, and moves.
TEST(RereadStatements, GiveWhatAWholeReadGives) {
  const std::string base =
      "#include \"r.h\"\r\nA ICON \"a\"\r\n\r\nD DIALOG 0,0,1,1\r\nBEGIN\r\n  LTEXT \"x\", 1, "
      "0,0,1,1\r\nEND\r\n// c\r\nLANGUAGE 9, 1\r\nB BITMAP \"b\"\r\nM MENU\r\n{\r\n}\r\nZ ICON "
      "\"z\"\r\n";
  const auto at = [&](std::string_view what) { return base.find(what); };
  const auto replaced = [&](std::size_t pos, std::size_t n, std::string_view with) {
    return base.substr(0, pos) + std::string(with) + base.substr(pos + n);
  };
  const std::vector<std::string> afters = {
      replaced(0, 0, "X ICON \"x\"\r\n"),
      replaced(at("A ICON"), 1, "AA"),
      replaced(at("BEGIN"), 5, "BEGIN\r\nBEGIN"),
      replaced(at("END"), 3, ""),
      replaced(at("// c"), 0, "/* "),
      replaced(at("LANGUAGE"), 13, "LANGUAGE 9,"),
      replaced(at("M MENU"), 0, "Q FOO\r\n"),
      replaced(at("Z ICON"), 8, "Z ICON \"zz"),
      base + "Y ICON \"y\"",
      base.substr(0, base.size() - 2),
      replaced(at("B BITMAP"), 0, "Z ICON \"z\"\r\n").substr(0, base.size() + 1),
      "",
  };
  const std::vector<Statement> before = readStatements(base);
  // A change far below a body left open that closes it.
  const std::string open = "B O{\r\nA ICON \"a\"\r\nBIRD ICON\r\n";
  EXPECT_TRUE(testing::sameStatements(rereadStatements(open, readStatements(open), open + "}"),
                                      readStatements(open + "}")));
  for (const std::string& after : afters) {
    EXPECT_TRUE(
        testing::sameStatements(rereadStatements(base, before, after), readStatements(after)))
        << after;
    EXPECT_TRUE(
        testing::sameStatements(rereadStatements(after, readStatements(after), base), before))
        << after;
  }
}

}  // namespace
}  // namespace kolvre
