// Real resource scripts through the reading of statements, the reorder and the edits of whole
// resources: each file of the shared corpus is read as the editor reads it, and its
// statements, a whole reorder, and the delete and the rename of each listed resource must keep
// their rules (tests/support/reorder_invariants.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "document/blocks.h"
#include "document/document.h"
#include "document/reorder.h"
#include "document/resource_edits.h"
#include "document/templates.h"
#include "support/corpus.h"
#include "support/reorder_invariants.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "syntax/statements.h"

namespace kolvre {
namespace {

using testing::kCorpusDir;

// The file names the manifest lists (its first column, header row left out).
std::set<std::string> manifestFiles() {
  std::set<std::string> names;
  std::ifstream in(kCorpusDir / "MANIFEST.tsv");
  std::string row;
  for (bool header = true; std::getline(in, row); header = false)
    if (!header && !row.empty()) names.insert(row.substr(0, row.find('\t')));
  return names;
}

// A corpus file's text as the editor holds it.
std::string corpusText(const std::string& file) {
  Document doc;
  doc.load("", readWholeFile((kCorpusDir / file).string()).bytes);
  return doc.text();
}

// The checks must fail on wrong outputs, or a corpus that passes proves nothing.
TEST(ReorderInvariants, CatchReordersThatBreakTheRules) {
  const std::string text = "// c\r\nB ICON\r\n{\r\n 1\r\n}\r\nA ICON\r\n{\r\n}\r\n";
  const std::string good = reorderScript(text);
  ASSERT_EQ(good, "A ICON\r\n{\r\n}\r\n// c\r\nB ICON\r\n{\r\n 1\r\n}\r\n");
  EXPECT_EQ(testing::checkReorder(text, good), "");

  // One byte changed; the last line end dropped; a line broken in two with the same bytes.
  EXPECT_NE(testing::checkSameBytes(text, "// c\r\nB ICON\r\n{\r\n 2\r\n}\r\nA ICON\r\n{\r\n}\r\n"),
            "");
  EXPECT_NE(testing::checkFinalLineEnd(text, good.substr(0, good.size() - 2)), "");
  EXPECT_NE(testing::checkLinesKept(text, "// c\r\nB\r\nICON{\r\n 1\r\n}\r\nA ICON\r\n{\r\n}\r\n"),
            "");
  // A name changed, and a block read as another type.
  EXPECT_NE(testing::checkSameIndex(text, "// c\r\nC ICON\r\n{\r\n 1\r\n}\r\nA ICON\r\n{\r\n}\r\n"),
            "");
  EXPECT_NE(testing::checkSameIndex(text, "// c\r\nB ICON\r\n{\r\n 1\r\n}\r\nA CURSOR{\r\n}\r\n"),
            "");
  // Blocks out of order are not a reordered text.
  EXPECT_NE(testing::checkIdempotent(text), "");
  // A comment changed.
  EXPECT_NE(
      testing::checkArrangementKept(text, "A ICON\r\n{\r\n}\r\n// C\r\nB ICON\r\n{\r\n 1\r\n}"),
      "");
}

TEST(ReorderInvariants, CatchBlocksMovedAcrossABarrier) {
  // A preprocessor line, a LANGUAGE statement and a block that shares its line with another
  // each cut the text in stretches; the reorder moves no block from one to another.
  for (const std::string barrier :
       {"#ifdef X\r\n", "LANGUAGE 9, 1\r\n", "Z ICON \"z\" Y ICON \"y\"\r\n"}) {
    const std::string text = "B ICON \"b\"\r\n" + barrier + "A ICON \"a\"\r\n";
    EXPECT_EQ(reorderScript(text), text) << barrier;
    EXPECT_NE(
        testing::checkArrangementKept(text, "A ICON \"a\"\r\n" + barrier + "B ICON \"b\"\r\n"), "")
        << barrier;
    EXPECT_NE(testing::checkArrangementKept(text, "B ICON \"b\"\r\nA ICON \"a\"\r\n" + barrier), "")
        << barrier;
  }
}

TEST(ReorderInvariants, CatchMovesThatTakeTooMuchOrTooLittle) {
  const std::string text =
      "A ICON \"a\"\r\n// about c\r\nC ICON \"c\"\r\n// about b\r\nB ICON \"b\" // b's own\r\n"
      "X BITMAP \"x\"\r\n";
  const std::size_t b = text.find("B ICON");
  const std::string good = placeBlock(text, b);
  ASSERT_EQ(good,
            "A ICON \"a\"\r\n// about b\r\nB ICON \"b\" // b's own\r\n// about c\r\nC ICON "
            "\"c\"\r\nX BITMAP \"x\"\r\n");
  EXPECT_EQ(testing::checkPlaced(text, b, good), "");
  // No listed block at that offset: the text must stay.
  EXPECT_EQ(testing::checkPlaced(text, 1, text), "");
  EXPECT_NE(testing::checkPlaced(text, 1, good), "");

  // Another block moved as well.
  EXPECT_NE(testing::checkPlaced(text, b,
                                 "X BITMAP \"x\"\r\nA ICON \"a\"\r\n// about b\r\nB ICON \"b\" // "
                                 "b's own\r\n// about c\r\nC ICON \"c\"\r\n"),
            "");
  // Its comment left behind.
  EXPECT_NE(testing::checkPlaced(text, b,
                                 "A ICON \"a\"\r\nB ICON \"b\" // b's own\r\n// about c\r\nC ICON "
                                 "\"c\"\r\n// about b\r\nX BITMAP \"x\"\r\n"),
            "");
  // Put between C and the comment above C.
  EXPECT_NE(testing::checkPlaced(text, b,
                                 "A ICON \"a\"\r\n// about c\r\n// about b\r\nB ICON \"b\" // b's "
                                 "own\r\nC ICON \"c\"\r\nX BITMAP \"x\"\r\n"),
            "");
  // Out of name order, though whole.
  EXPECT_NE(testing::checkPlaced(text, b,
                                 "// about b\r\nB ICON \"b\" // b's own\r\nA ICON \"a\"\r\n// "
                                 "about c\r\nC ICON \"c\"\r\nX BITMAP \"x\"\r\n"),
            "");
  // Its line broken.
  EXPECT_NE(testing::checkPlaced(text, b,
                                 "A ICON \"a\"\r\n// about b\r\nB ICON \"b\"\r\n// b's own\r\n// "
                                 "about c\r\nC ICON \"c\"\r\nX BITMAP \"x\"\r\n"),
            "");

  // A rename: the name only, then no move, as the icons (A, C, B) were not in order.
  const std::size_t a = 0;
  const std::string renamed = placeBlock(
      "D ICON \"a\"\r\n// about c\r\nC ICON \"c\"\r\n// about b\r\nB ICON \"b\" // b's own\r\n"
      "X BITMAP \"x\"\r\n",
      a, nullptr, "A");
  EXPECT_EQ(renamed.substr(0, 2), "D ");
  EXPECT_EQ(testing::checkRenamed(text, a, "D", renamed), "");
  EXPECT_NE(testing::checkRenamed(text, a, "E", renamed), "");
  // Moved all the same.
  EXPECT_NE(testing::checkRenamed(text, a, "D", placeBlock(renamed, a)), "");
  // Something more than the name changed.
  EXPECT_NE(testing::checkRenamed(text, a, "D",
                                  "// about c\r\nC ICON \"c\"\r\n// about b\r\nB ICON \"b\" // "
                                  "b's own\r\nD ICON \"A\"\r\nX BITMAP \"x\"\r\n"),
            "");
}

TEST(ReorderInvariants, CatchDeletesThatTakeMore) {
  const std::string text = "A ICON \"a\"\r\n// c\r\nB ICON \"b\"\r\nC ICON \"c\"";
  const std::size_t b = text.find("B ICON");
  EXPECT_EQ(testing::checkDeleted(text, b, "A ICON \"a\"\r\n// c\r\nC ICON \"c\""), "");
  EXPECT_NE(testing::checkDeleted(text, b, "A ICON \"a\"\r\nC ICON \"c\""), "");
  EXPECT_NE(testing::checkDeleted(text, b, "A ICON \"a\"\r\n// c\r\nC ICON \"c\"\r\n}"), "");
  EXPECT_NE(testing::checkDeleted(text, 1, text), "");
}

TEST(ReorderInvariants, CatchNewBlocksPutInWrong) {
  const std::string text =
      "A ICON \"a\"\r\nC ICON \"c\"\r\n#define X\r\nB ICON \"b\"\r\nD ICON \"d\"\r\n";
  const std::string block = "BB ICON \"bb\"\r\n";
  const Edit edit = appendEdit(text, block, kLabelNew).value();
  const std::string good = applySplices(text, edit.splices);
  ASSERT_EQ(good,
            "A ICON \"a\"\r\nC ICON \"c\"\r\n#define X\r\nB ICON \"b\"\r\nBB ICON \"bb\"\r\nD ICON "
            "\"d\"\r\n");
  EXPECT_EQ(testing::checkInserted(text, block, good), "");
  // Before the barrier; after D; with a byte of D changed; glued to B's line; cut short.
  for (const std::string bad :
       {"A ICON \"a\"\r\nBB ICON \"bb\"\r\nC ICON \"c\"\r\n#define X\r\nB ICON \"b\"\r\nD ICON "
        "\"d\"\r\n",
        "A ICON \"a\"\r\nC ICON \"c\"\r\n#define X\r\nB ICON \"b\"\r\nD ICON \"d\"\r\nBB ICON "
        "\"bb\"\r\n",
        "A ICON \"a\"\r\nC ICON \"c\"\r\n#define X\r\nB ICON \"b\"\r\nBB ICON \"bb\"\r\nD ICON "
        "\"e\"\r\n",
        "A ICON \"a\"\r\nC ICON \"c\"\r\n#define X\r\nB ICON \"b\" BB ICON \"bb\"\r\nD ICON "
        "\"d\"\r\n",
        "A ICON \"a\"\r\nC ICON \"c\"\r\n#define X\r\nB ICON \"b\"\r\nBB ICON \r\nD ICON "
        "\"d\"\r\n"})
    EXPECT_NE(testing::checkInserted(text, block, bad), "") << testing::detail::excerpt(bad);
}

TEST(ReorderInvariants, DiskRoundTripHoldsForEveryKindOfLineEnd) {
  for (const std::string bytes : {"", "a\nb\n", "a\r\nb\n", "a\rb\n", "\r", "a\n\r"})
    EXPECT_EQ(testing::checkDiskRoundTrip(bytes), "") << testing::detail::excerpt(bytes);
}

TEST(Corpus, HoldsEveryFileItsManifestLists) {
  if (testing::corpusScripts().empty()) KOLVRE_CORPUS_CASE(std::string());
  const std::vector<std::string> files = testing::corpusScripts();
  const std::set<std::string> listed = manifestFiles();
  ASSERT_FALSE(listed.empty()) << "no files in the manifest in " << kCorpusDir;
  EXPECT_EQ(std::set<std::string>(files.begin(), files.end()), listed);
}

// The corpus reaches the rules: it holds what cuts stretches and what the reorder must move, so
// that the tests below do not pass for want of cases. Headers aligned in columns (several blanks
// or a tab between name and type) are found like any other.
TEST(Corpus, HoldsTheCasesTheRulesAreAbout) {
  if (testing::corpusScripts().empty()) KOLVRE_CORPUS_CASE(std::string());
  std::size_t listed = 0, aligned = 0, directives = 0, languages = 0, comments = 0,
              stringTables = 0, open = 0, conditional = 0, reordered = 0;
  for (const std::string& file : testing::corpusScripts()) {
    const std::string text = corpusText(file);
    const ResourceIndex index = indexResources(text);
    for (const Statement& s : readStatements(text)) {
      directives += s.kind == StatementKind::Directive;
      languages += s.kind == StatementKind::Language;
      comments += s.kind == StatementKind::Comment;
      stringTables += s.kind == StatementKind::StringTable;
      if (s.kind == StatementKind::Resource || s.kind == StatementKind::StringTable) {
        open += !s.complete;
        const std::string_view body = s.of(text);
        for (std::size_t line = body.find("\r\n"); line != std::string_view::npos;
             line = body.find("\r\n", line + 2)) {
          const std::size_t first = body.find_first_not_of(" \t", line + 2);
          if (first != std::string_view::npos && body[first] == '#') {
            ++conditional;
            break;
          }
        }
      }
      if (!s.listed) continue;
      ++listed;
      const std::string_view gap =
          std::string_view(text).substr(s.nameEnd, s.typeBegin - s.nameEnd);
      if (gap.size() < 2 && gap != "\t") continue;
      ++aligned;
      const auto position = findEntry(index, {std::string(s.name(text)), *s.listed, 0});
      EXPECT_TRUE(position && entryBlock(text, index, *position)) << file << ": " << s.name(text);
    }
    reordered += reorderScript(text) != text;
  }
  std::cout << "[ corpus   ] " << listed << " listed resources (" << aligned
            << " aligned in columns), " << stringTables << " string tables, " << directives
            << " preprocessor lines, " << languages << " LANGUAGE statements, " << comments
            << " comments, " << open << " bodies left open, " << conditional
            << " with preprocessor lines inside; " << reordered << " files reordered\n";
  EXPECT_GT(aligned, 0u);
  EXPECT_GT(directives, 0u);
  EXPECT_GT(languages, 0u);
  EXPECT_GT(comments, 0u);
  EXPECT_GT(stringTables, 0u);
  EXPECT_GT(conditional, 0u);
  EXPECT_GT(reordered, 0u);
}

// A script that compiles without headers, with the barriers real projects write: whatever
// the defines, a resource compiler reads the same resources before and after the reorder
// (windres -O rc prints back each resource by type, name and language, with its data).
TEST(ResourceCompiler, ReadsTheSameResourcesBeforeAndAfterTheReorder) {
  const std::string windres = "x86_64-w64-mingw32-windres";
  if (!testing::runCommand("command -v " + windres).ok)
    GTEST_SKIP() << windres << " not found (Debian: binutils-mingw-w64-x86-64)";
  const std::string script =
      "LANGUAGE 9, 1\r\n"
      "Z DIALOG 0, 0, 20, 20\r\nCAPTION \"z\"\r\nBEGIN\r\nEND\r\n"
      "#ifndef NO_MANIFEST\r\n1 24 \"app.manifest\"\r\n#endif\r\n"
      "#if 0\r\n2 24 \"missing.manifest\"\r\nA DIALOG 0, 0, 9, 9\r\nBEGIN\r\nEND\r\n#endif\r\n"
      "#ifdef X\r\nB DIALOG 0, 0, 1, 1\r\nBEGIN\r\nEND\r\n#else\r\n"
      "B DIALOG 0, 0, 2, 2\r\nBEGIN\r\nEND\r\n#endif\r\n"
      "IDD_ALIGNED    DIALOGEX 0, 0, 170, 62\r\nCAPTION \"a\"\r\nBEGIN\r\n"
      "#ifdef X\r\n    LTEXT \"x\", 1, 1, 1, 8, 8\r\n#endif\r\n"
      "    PUSHBUTTON \"ok\", 2, 1, 1, 8, 8\r\nEND\r\n"
      "/* END } */ C DIALOG 0, 0, 5, 5 BEGIN END\r\n"
      "\r\nLANGUAGE 16, 1\r\n"
      "Z DIALOG 0, 0, 30, 30\r\nBEGIN\r\nEND\r\n"
      "V\tVERSIONINFO\r\nFILEVERSION 1,0,0,1\r\nBEGIN\r\n BLOCK \"StringFileInfo\"\r\n"
      " BEGIN\r\n  BLOCK \"041004b0\"\r\n  BEGIN\r\n   VALUE \"A\", \"b END }\"\r\n  END\r\n"
      " END\r\nEND\r\n"
      "// the dialog below\r\nA DIALOG 0, 0, 40, 40\r\nBEGIN\r\nEND\r\n";
  const std::string reordered = reorderScript(script);
  ASSERT_NE(reordered, script);
  ASSERT_EQ(testing::checkReorder(script, reordered), "");
  const testing::TempDir dir;
  dir.write("app.manifest", "<assembly/>");
  const auto compile = [&](const std::string& name, const std::string& text,
                           const std::string& defines) {
    const std::string rc = dir.write(name + ".rc", text);
    const std::string res = dir.file(name + ".res");
    const std::string out = dir.file(name + ".out");
    const testing::CommandRun run = testing::runCommand(
        windres + " --preprocessor=cpp " + defines + " -I " +
        testing::shellQuoted(dir.path().string()) + " -i " + testing::shellQuoted(rc) +
        " -O res -o " + testing::shellQuoted(res) + " && " + windres + " -i " +
        testing::shellQuoted(res) + " -O rc -o " + testing::shellQuoted(out));
    return run.ok ? testing::TempDir::read(out) : "failed: " + run.output;
  };
  for (const std::string defines : {"", "-DX", "-DX -DNO_MANIFEST"}) {
    const std::string before = compile("before", script, defines);
    ASSERT_FALSE(before.starts_with("failed")) << defines << ": " << before;
    EXPECT_EQ(compile("after", reordered, defines), before) << defines;
  }
}

class CorpusScript : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    KOLVRE_CORPUS_CASE(GetParam());
    const FileRead read = readWholeFile((kCorpusDir / GetParam()).string());
    ASSERT_EQ(read.error, 0) << GetParam();
    bytes = read.bytes;
    doc.load("", read.bytes);
  }
  const std::string& text() const { return doc.text(); }

  std::string bytes;  // as read, without the end-of-file mark
  Document doc;
};

TEST_P(CorpusScript, TokensAndStatementsCoverTheTextOnce) {
  EXPECT_EQ(testing::checkTokens(text()), "");
  EXPECT_EQ(testing::checkStatementsCover(text()), "");
  EXPECT_EQ(testing::checkSelfContained(text()), "");
}

TEST_P(CorpusScript, DiskFormRoundTrips) {
  EXPECT_EQ(testing::checkDiskRoundTrip(bytes), "");
  EXPECT_EQ(doc.diskBytes(), bytes);
}

TEST_P(CorpusScript, ReorderKeepsEveryRule) {
  const std::string reordered = reorderScript(text());
  EXPECT_EQ(testing::checkReorder(text(), reordered), "");
  EXPECT_EQ(reorderScript(text()), reordered);
}

// Every listed resource in turn is deleted from the text as it was opened.
TEST_P(CorpusScript, DeletingEachResourceLeavesEveryOtherStatement) {
  const ResourceIndex& index = doc.index();
  for (std::size_t i = 0; i < index.size(); ++i) {
    const auto block = entryBlock(text(), index, i);
    ASSERT_TRUE(block) << index[i].name;
    EXPECT_EQ(block->begin, index[i].offset);
    const std::optional<Edit> deleted = deleteEdit(text(), index, i, *block);
    ASSERT_TRUE(deleted) << index[i].name;
    const Edit& edit = *deleted;
    const std::string out = applySplices(text(), edit.splices);
    EXPECT_EQ(testing::checkDeleted(text(), block->begin, out), "") << index[i].name;
    EXPECT_EQ(indexResources(out).size() + 1, index.size()) << index[i].name;
  }
}

// Every listed resource in turn is renamed in the text as it was opened, to a name that sorts
// before every word (a number), after every other name, or among them.
TEST_P(CorpusScript, RenamingEachResourceMovesOnlyIt) {
  const ResourceIndex& index = doc.index();
  std::optional<std::size_t> firstNamed;
  for (std::size_t i = 0; i < index.size(); ++i) {
    if (index[i].type == ResourceType::StringTable) continue;  // no name to rename
    if (!firstNamed) firstNamed = i;
    const std::string stem[] = {"6553", "ZZZZ_RENAMED_", "KOLVRE_RENAMED_"};
    std::string name = stem[i % 3] + std::to_string(i);
    while (std::any_of(index.begin(), index.end(),
                       [&](const IndexEntry& e) { return sameName(e.name, name); }))
      name += "_";
    const auto block = entryBlock(text(), index, i);
    ASSERT_TRUE(block) << index[i].name;
    const Edit edit = renameEdit(index, i, *block, name);
    ASSERT_TRUE(edit.placeBlockAt);
    const std::string out = placeBlock(applySplices(text(), edit.splices), *edit.placeBlockAt,
                                       nullptr, edit.placedNameBefore);
    EXPECT_EQ(testing::checkRenamed(text(), block->begin, name, out), "")
        << index[i].name << " to " << name;
  }
  // The first one through the document as the command does it, and back.
  if (firstNamed) {
    const std::string opened = text();
    const auto block = entryBlock(text(), index, *firstNamed);
    const Edit edit = renameEdit(index, *firstNamed, *block, "ZZZZ_COMMITTED");
    const std::string expected = placeBlock(applySplices(text(), edit.splices), block->begin,
                                            nullptr, edit.placedNameBefore);
    ASSERT_TRUE(doc.commit(edit));
    EXPECT_EQ(doc.text(), expected);
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.text(), opened);
  }
}

// A new resource of each kind, and a copy of each listed resource pasted under a new name, go
// in whole at their place in the last stretch, and every statement of the script stays.
TEST_P(CorpusScript, NewAndPastedResourcesGoInAtTheirPlace) {
  for (const ResourceTypeInfo& info : kResourceTypes) {
    if (!isCreatable(info.type)) continue;
    const std::string block = resourceTemplate(info.type, "KOLVRE_NEW");
    const std::optional<Edit> added = appendEdit(text(), block, kLabelNew);
    ASSERT_TRUE(added);
    const Edit& edit = *added;
    EXPECT_EQ(testing::checkInserted(text(), block, applySplices(text(), edit.splices)), "")
        << info.code;
  }
  const ResourceIndex& index = doc.index();
  for (std::size_t i = 0; i < index.size(); ++i) {
    const auto block = entryBlock(text(), index, i);
    ASSERT_TRUE(block) << index[i].name;
    // A string table has no name: it goes in as copied.
    const std::string pasted = index[i].type == ResourceType::StringTable
                                   ? std::string(block->of(text()))
                                   : pastedBlock(block->of(text()), "KOLVRE_PASTED");
    const std::optional<Edit> added = appendEdit(text(), pasted, kLabelPaste);
    ASSERT_TRUE(added);
    const Edit& edit = *added;
    EXPECT_EQ(testing::checkInserted(text(), pasted, applySplices(text(), edit.splices)), "")
        << index[i].name;
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, CorpusScript, ::testing::ValuesIn(testing::corpusCases()),
                         testing::corpusCaseName);

}  // namespace
}  // namespace kolvre
