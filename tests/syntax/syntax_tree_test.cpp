#include "syntax/syntax_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "support/corpus.h"

namespace kolvre {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = KOLVRE_TESTS_DIR "/syntax/golden";
const fs::path kFuzzSeedsDir = KOLVRE_SOURCE_DIR "/fuzz/seeds";

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The lines where the two dumps part, each side marked, with a line of context before.
std::string lineDiff(const std::string& expected, const std::string& actual) {
  const std::vector<std::string> a = linesOf(expected), b = linesOf(actual);
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
    ++tail;
  std::ostringstream out;
  if (head > 0) out << "  " << a[head - 1] << '\n';
  for (std::size_t i = head; i < a.size() - tail; ++i) out << "- " << a[i] << '\n';
  for (std::size_t i = head; i < b.size() - tail; ++i) out << "+ " << b[i] << '\n';
  return out.str();
}

std::vector<fs::path> filesUnder(const fs::path& dir, std::string_view extension = {}) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(dir, ec))
    if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension))
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Each golden script's tree is its .expected dump. KOLVRE_UPDATE_GOLDEN=1 writes the dumps
// instead (then read the diff before committing them).
TEST(SyntaxTree, GoldenScriptsReadAsTheirDumpsSay) {
  const std::vector<fs::path> scripts = filesUnder(kGoldenDir, ".rc");
  ASSERT_FALSE(scripts.empty()) << "no golden scripts at " << kGoldenDir;
  const char* update = std::getenv("KOLVRE_UPDATE_GOLDEN");
  for (const fs::path& script : scripts) {
    fs::path expectedFile = script;
    expectedFile.replace_extension(".expected");
    const std::string actual = dumpTree(readBytes(script));
    if (update && std::string(update) == "1") {
      std::ofstream(expectedFile, std::ios::binary) << actual;
      continue;
    }
    ASSERT_TRUE(fs::exists(expectedFile)) << expectedFile << " is missing";
    const std::string expected = readBytes(expectedFile);
    EXPECT_EQ(expected, actual) << script.filename().string() << ":\n"
                                << lineDiff(expected, actual);
  }
}

void expectRoundTrip(const std::string& text, const std::string& what) {
  const SyntaxTree tree(text);
  EXPECT_EQ(textFromTree(text, tree), text) << what;
  // Every node lies inside its parent, and every token after the one before it.
  for (std::size_t i = 0; i < tree.statements().size(); ++i) {
    const StatementTree& st = tree.statementTree(text, i);
    for (std::size_t t = 1; t < st.tokens.size(); ++t)
      ASSERT_LE(st.tokens[t - 1].end, st.tokens[t].begin) << what;
    for (std::size_t n = 0; n < st.nodes.size(); ++n)
      for (std::size_t c : st.children(n)) {
        ASSERT_LE(st.nodes[n].first, st.nodes[c].first) << what;
        ASSERT_LE(st.nodes[c].last, st.nodes[n].last) << what;
      }
  }
}

TEST(SyntaxTree, EveryGoldenScriptAndFuzzSeedComesBackByteForByte) {
  std::size_t files = 0;
  for (const fs::path& dir : {kGoldenDir, kFuzzSeedsDir})
    for (const fs::path& file : filesUnder(dir)) {
      if (file.extension() == ".expected") continue;
      expectRoundTrip(readBytes(file), file.string());
      ++files;
    }
  EXPECT_GT(files, 50u);
}

class SyntaxTreeCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(SyntaxTreeCorpus, ComesBackByteForByte) {
  KOLVRE_CORPUS_CASE(GetParam());
  expectRoundTrip(readBytes(testing::kCorpusDir / GetParam()), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Corpus, SyntaxTreeCorpus, ::testing::ValuesIn(testing::corpusCases()),
                         testing::corpusCaseName);

TEST(SyntaxTree, ByteEdgesComeBackByteForByte) {
  for (const std::string& text :
       {std::string(), std::string("\r\n"), std::string(1, '\0'), std::string("\"open"),
        std::string("/* open"), std::string("#define A \\\r\n"), std::string("#"),
        std::string("D DIALOG 0,0,1,1\r\nBEGIN\r\nBEGIN\r\nEND"), std::string("\xEF\xBB\xBF A B"),
        std::string("A B {{{{ }"), std::string("1 MENU\n\rBEGIN\rPOPUP\"\"\n{\r\n}\n")})
    expectRoundTrip(text, text);
}

// A statement reads into the same tree whatever was read before it (the reading keeps its
// buffers from one statement to the next), and its tree holds no spare room: a long dialog
// (more tokens than the buffers keep), a short one, and a value whose operands a NUL byte joins.
TEST(SyntaxTree, AStatementReadsAloneAsAfterAnyOther) {
  std::string text = "A DIALOG 0,0,1,1\r\nBEGIN\r\n";
  for (int i = 0; i < 20000; ++i) text += "  LTEXT \"x\", 1, 2, 3, 4, 5\r\n";
  text += "END\r\nB DIALOG 0,0,1,1 { CONTROL \"y\", 2 }\r\nLANGUAGE 1\r\n";
  text += std::string("\0", 1) + "\r\n2\r\n";
  const SyntaxTree forward(text);
  const std::vector<Statement>& statements = forward.statements();
  ASSERT_EQ(statements.size(), 3u);  // the NUL carries LANGUAGE on to the 2, as an operator would
  std::vector<StatementTree> alone;
  for (const Statement& s : statements) alone.push_back(readStatementTree(text, s));
  for (std::size_t i = statements.size(); i-- > 0;) {
    EXPECT_EQ(readStatementTree(text, statements[i]), alone[i]) << "statement " << i;
    EXPECT_EQ(alone[i].tokens.capacity(), alone[i].tokens.size());
    EXPECT_EQ(alone[i].nodes.capacity(), alone[i].nodes.size());
  }
  EXPECT_GT(alone[0].tokens.size(), 200000u);
  // LANGUAGE 1 NUL: the NUL joins the 2 on the next line to the value.
  EXPECT_EQ(alone[2].tokens.size(), 5u);
  EXPECT_EQ(alone[2].nodes.size(), 2u);
  EXPECT_EQ(alone[2].nodes[1].kind, NodeKind::Field);
  EXPECT_EQ(alone[2].nodes[1].last, 4u);
}

// The statement trees kept across an edit are those a fresh reading gives.
void expectUpdateMatchesFreshReading(const std::string& before, const std::string& after) {
  SyntaxTree tree(before);
  for (std::size_t i = 0; i < tree.statements().size(); ++i) tree.statementTree(before, i);
  tree.update(before, after);
  const SyntaxTree fresh(after);
  ASSERT_EQ(tree.statements().size(), fresh.statements().size()) << after;
  for (std::size_t i = 0; i < fresh.statements().size(); ++i)
    EXPECT_EQ(tree.statementTree(after, i), fresh.statementTree(after, i))
        << "statement " << i << " of:\n"
        << after;
}

TEST(SyntaxTree, AnUpdateKeepsTheTreesOfStatementsTheEditDidNotTouch) {
  const std::string before =
      "A ICON \"a.ico\"\r\nD DIALOG 0,0,10,10\r\nBEGIN\r\n  LTEXT \"x\",1,0,0,5,5\r\nEND\r\n"
      "M MENU\r\nBEGIN\r\n  MENUITEM \"&Open\", 101\r\nEND\r\n";
  SyntaxTree tree(before);
  for (std::size_t i = 0; i < tree.statements().size(); ++i) tree.statementTree(before, i);
  const StatementTree* menu = &tree.statementTree(before, 2);
  // Renaming the dialog changes its statement alone; the icon's and the menu's trees stay.
  std::string after = before;
  after.replace(after.find("D DIALOG"), 1, "DLG");
  tree.update(before, after);
  EXPECT_EQ(tree.treesKept(), 2u);
  EXPECT_EQ(&tree.statementTree(after, 2), menu);
  expectUpdateMatchesFreshReading(before, after);

  // Edits that reach a neighbour's reading: a line end taken away before a statement, a
  // comment opened, a body's closer removed.
  const std::string edits[] = {
      [&] {
        std::string s = before;
        s.erase(s.find("\r\nM MENU"), 2);
        return s;
      }(),
      [&] {
        std::string s = before;
        s.insert(s.find("ICON") + 4, " /*");
        return s;
      }(),
      [&] {
        std::string s = before;
        s.erase(s.find("END"), 3);
        return s;
      }(),
      [&] {
        std::string s = before;
        s.insert(0, "#define X \\\r\n");
        return s;
      }(),
      before + "\r\n",
      std::string(),
  };
  for (const std::string& edit : edits) expectUpdateMatchesFreshReading(before, edit);
}

TEST(SyntaxTree, RandomByteEditsUpdateAsAFreshReadingReads) {
  const std::string base =
      "#include \"r.h\"\r\nLANGUAGE 9, 1\r\nA ICON \"a.ico\"\r\nD DIALOG 0,0,10,10\r\nCAPTION "
      "\"T\"\r\nBEGIN\r\n  LTEXT \"x\",1,0,0,5,5 // c\r\nEND\r\nSTRINGTABLE\r\nBEGIN\r\n  1 "
      "\"a\"\r\nEND\r\n/* c */\r\nM MENU\r\n{\r\n  POPUP \"p\"\r\n  {\r\n    MENUITEM \"o\", 1\r\n"
      "  }\r\n}\r\n";
  const std::string pieces[] = {"\r\n",  "\"", "/*", "*/", "//", "{", "}",   "END",
                                "BEGIN", "#",  "\\", " ",  "X",  ",", "ICON"};
  std::mt19937 random(20261210);
  std::string text = base;
  for (int round = 0; round < 400; ++round) {
    std::string after = text;
    const std::size_t at = random() % (after.size() + 1);
    if (random() % 2 == 0 && at < after.size())
      after.erase(at, 1 + random() % 4);
    else
      after.insert(at, pieces[random() % std::size(pieces)]);
    expectUpdateMatchesFreshReading(text, after);
    if (HasFailure()) return;
    text = after.size() > 2000 ? base : after;
  }
}

// The trivia before a token parts at its first line end outside comments: what follows the code
// of the line before stays with that line.
TEST(SyntaxTree, TriviaPartsAtItsFirstLineEndOutsideComments) {
  const std::string text =
      "D DIALOG 0,0,1,1\r\nBEGIN // x\r\n\r\n  // y\r\n  LTEXT \"a\", 1 /* one\r\n two */\r\n"
      "  LTEXT \"b\", 2 LTEXT \"c\", 3\n  LTEXT \"d\", 4\r\nEND";
  const SyntaxTree tree(text);
  ASSERT_EQ(tree.statements().size(), 1u);
  const StatementTree& st = tree.statementTree(text, 0);
  const auto at = [&](std::string_view word) {
    for (std::size_t i = 0; i < st.tokens.size(); ++i)
      if (text.substr(st.tokens[i].begin, st.tokens[i].end - st.tokens[i].begin) == word) return i;
    return st.tokens.size();
  };
  const auto rest = [&](std::size_t i) {
    const std::size_t from = triviaLineBreak(st, text, i);
    return text.substr(from, st.tokens[i].begin - from);
  };
  EXPECT_EQ(rest(at("\"a\"") - 1), "\r\n\r\n  // y\r\n  ");  // "// x" stays with BEGIN
  EXPECT_EQ(rest(at("\"b\"") - 1), "\r\n  ");                // the block comment too
  EXPECT_EQ(rest(at("\"c\"") - 1), " ");                     // no line end: the whole trivia
  EXPECT_EQ(rest(at("\"d\"") - 1), "\n  ");                  // a lone LF is no line end
  EXPECT_EQ(rest(0), "");
  EXPECT_EQ(rest(at("END")), "\r\n");
}

// What the readers ask of a statement's tree: a node's children of a kind, the body's closer,
// and the lines a token starts and the token before it ends, counted through trivia and
// comments.
TEST(SyntaxTree, NodesChildrenTokensAndTheLinesAroundThem) {
  const std::string text =
      "STRINGTABLE\r\nBEGIN /* a\r\n b */ 1 \"a\"\r\n\t2 \"b\" // c\r\n  /**/ 3 \"c\"\n 4 "
      "\"d\"\r\nEND";
  const std::vector<Statement> statements = readStatements(text);
  ASSERT_EQ(statements.size(), 1u);
  const StatementTree tree = readStatementTree(text, statements[0]);
  const std::size_t body = childOfKind(tree, 0, NodeKind::Body);
  ASSERT_NE(body, 0u);
  EXPECT_TRUE(closesBody(text, tree, tree.nodes[body]));
  EXPECT_EQ(childOfKind(tree, 0, NodeKind::Values), 0u);
  const std::vector<std::size_t> entries = childrenOfKind(tree, body, NodeKind::StringEntry);
  ASSERT_EQ(entries.size(), 3u);  // 3 and 4 share a line: the lone LF is no line end
  EXPECT_EQ(nodeText(text, tree, tree.nodes[entries[2]]), "3 \"c\"\n 4 \"d\"");
  const auto at = [&](std::string_view token) { return tokenAt(tree, text.find(token)); };
  EXPECT_EQ(tokenText(text, tree.tokens[at("2 ")]), "2");
  EXPECT_EQ(tokenAt(tree, text.size()), tree.tokens.size() - 1);
  // Lines that start with a token (blanks before it alone), and those that do not.
  EXPECT_EQ(lineStartBefore(text, tree, at("2 ")), text.find("\t2"));
  EXPECT_EQ(lineStartBefore(text, tree, at("END")), text.find("END"));
  EXPECT_EQ(lineStartBefore(text, tree, at("1 ")), std::nullopt);  // a comment before it
  EXPECT_EQ(lineStartBefore(text, tree, at("3 ")), std::nullopt);
  EXPECT_EQ(lineStartBefore(text, tree, at("4 ")), std::nullopt);
  EXPECT_EQ(lineStartBefore(text, tree, 0), std::nullopt);
  // Lines that end after a token (blanks and closed comments after it alone).
  EXPECT_EQ(lineEndBefore(text, tree, at("2 ")), text.find("\r\n\t2"));
  EXPECT_EQ(lineEndBefore(text, tree, at("3 ")), text.find("\r\n  /**/"));
  EXPECT_EQ(lineEndBefore(text, tree, at("1 ")), std::nullopt);  // the comment goes on
  EXPECT_EQ(lineEndBefore(text, tree, at("4 ")), std::nullopt);
  EXPECT_EQ(lineEndBefore(text, tree, at("\"b\"")), std::nullopt);
}

// Strings in double quotes among a statement's tokens, a wide one as one token; an apostrophe
// string is none, with an L before it or not.
TEST(SyntaxTree, QuotedStringsAmongTheTokens) {
  const std::string text = "X RCDATA { \"a\", L\"b\", 'c', L 'd', L, Lx\"e\" }";
  const std::vector<Statement> statements = readStatements(text);
  ASSERT_EQ(statements.size(), 1u);
  const StatementTree tree = readStatementTree(text, statements[0]);
  std::vector<std::string> quoted;
  for (const TreeToken& t : tree.tokens)
    if (isQuotedString(text, t)) quoted.emplace_back(tokenText(text, t));
  EXPECT_EQ(quoted, (std::vector<std::string>{"\"a\"", "L\"b\"", "\"e\""}));
}

}  // namespace
}  // namespace kolvre
