// Reordering real resource scripts: each file of the shared corpus is read as the editor reads
// it and must keep its blocks, its bytes, its lines and its index through a reorder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "document/blocks.h"
#include "document/document.h"
#include "document/reorder.h"
#include "support/reorder_invariants.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(KOLVRE_CORPUS_DIR).lexically_normal();
const std::string kManifest = "MANIFEST.tsv";

// The shared corpus lies beside the source tree, and a fresh clone has none. Its tests then
// skip, saying so, unless KOLVRE_REQUIRE_CORPUS=1 (as in CI) makes a missing corpus a failure.
bool corpusPresent() {
  std::error_code ec;
  return fs::is_regular_file(kCorpus / kManifest, ec);
}

bool corpusRequired() {
  const char* required = std::getenv("KOLVRE_REQUIRE_CORPUS");
  return required != nullptr && std::string_view(required) == "1";
}

#define SKIP_WITHOUT_CORPUS()                                                          \
  do {                                                                                 \
    if (!corpusPresent()) {                                                            \
      if (corpusRequired()) FAIL() << "no shared corpus at " << kCorpus.string();      \
      GTEST_SKIP() << "no shared corpus at " << kCorpus.string()                       \
                   << ": these tests need ../shared/corpus/rc beside the source tree"; \
    }                                                                                  \
  } while (false)

// The script files of the corpus by name, in name order.
std::vector<std::string> corpusFiles() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(kCorpus, ec))
    if (entry.is_regular_file() && entry.path().filename() != kManifest)
      names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The cases of the parameterised tests: the corpus files, or one placeholder that reports the
// skip when there are none, so that a missing corpus is seen rather than run zero times.
const std::string kNoCorpus = "no corpus";
std::vector<std::string> corpusCases() {
  std::vector<std::string> files = corpusFiles();
  if (files.empty()) files.push_back(kNoCorpus);
  return files;
}

// The file names the manifest lists (its first column, header row left out).
std::set<std::string> manifestFiles() {
  std::set<std::string> names;
  std::ifstream in(kCorpus / kManifest);
  std::string row;
  for (bool header = true; std::getline(in, row); header = false)
    if (!header && !row.empty()) names.insert(row.substr(0, row.find('\t')));
  return names;
}

// A corpus file's text as the editor holds it.
std::string corpusText(const std::string& file) {
  const FileRead read = readWholeFile((kCorpus / file).string());
  Document doc;
  doc.load("", read.bytes);
  return doc.text();
}

// A test name from a file name: letters and digits kept, anything else becomes "_".
std::string caseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

// A resource compiler as a second judge: windres compiles a script before and after the
// reorder and prints back what it compiled (-O rc lists the resources by type, name and
// language, with their data), and the two must match. Where windres is missing, or a script
// does not compile on its own (most corpus scripts include project headers the corpus lacks),
// the comparison is skipped with a message.
const std::string kWindres = "x86_64-w64-mingw32-windres";

bool haveWindres() {
  return std::system(("command -v " + kWindres + " >/dev/null 2>&1").c_str()) == 0;
}

std::string shellQuoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

struct Compiled {
  bool ok;
  std::string output;  // what windres prints back, or its first error line
};

// Compiles `text` as <name>.rc in `dir`, with `includeDir` searched for headers and files.
Compiled compileScript(const testing::TempDir& dir, const std::string& name,
                       const std::string& text, const fs::path& includeDir,
                       const std::string& defines = "") {
  const std::string rc = dir.write(name + ".rc", text);
  const std::string res = dir.file(name + ".res");
  const std::string out = dir.file(name + ".out");
  const std::string err = dir.file(name + ".err");
  const std::string compile = kWindres + " --preprocessor=cpp " + defines + " -I " +
                              shellQuoted(includeDir.string()) + " -i " + shellQuoted(rc) +
                              " -O res -o " + shellQuoted(res) + " 2>" + shellQuoted(err);
  const std::string decompile = kWindres + " -i " + shellQuoted(res) + " -O rc -o " +
                                shellQuoted(out) + " 2>>" + shellQuoted(err);
  if (std::system(compile.c_str()) != 0 || std::system(decompile.c_str()) != 0) {
    const std::string message = testing::TempDir::read(err);
    return {false, message.substr(0, message.find('\n'))};
  }
  return {true, testing::TempDir::read(out)};
}

// The checks must fail on wrong outputs, or a corpus that passes proves nothing.
TEST(ReorderInvariants, CatchOutputsThatBreakTheRules) {
  const std::string text = "// c\r\nB ICON\r\n{\r\n 1\r\n}\r\nA ICON\r\n{\r\n}\r\n";
  const std::string good = reorderScript(text);
  EXPECT_EQ(testing::checkBlocksKept(text, good), "");
  EXPECT_EQ(testing::checkSameNonSpaceBytes(text, good), "");
  EXPECT_EQ(testing::checkLinesKept(text, good), "");
  EXPECT_EQ(testing::checkSameIndex(text, good), "");
  EXPECT_EQ(testing::checkIdempotent(good), "");

  // A block glued to the end of a line, and one dropped.
  EXPECT_NE(testing::checkBlocksKept(text, "// cB ICON\r\n{\r\n 1\r\n}\r\nA ICON\r\n{\r\n}"), "");
  EXPECT_NE(testing::checkBlocksKept(text, "// c\r\nA ICON\r\n{\r\n}"), "");
  // One byte changed, one added: the lengths of the non-space text still match in the first.
  EXPECT_NE(testing::checkSameNonSpaceBytes(text, "// c\r\nB ICON\r\n{\r\n 2\r\n}\r\nA ICON{}"),
            "");
  EXPECT_NE(testing::checkSameNonSpaceBytes(text, good + "}"), "");
  // Same bytes, but a line broken in two.
  EXPECT_NE(testing::checkLinesKept(text, "// c\r\nB\r\nICON\r\n{\r\n 1\r\n}\r\nA ICON\r\n{\r\n}"),
            "");
  // A header indented away, and a duplicated header.
  EXPECT_NE(testing::checkSameIndex(text, "// c\r\n B ICON\r\nA ICON"), "");
  EXPECT_NE(testing::checkSameIndex(text, good + "\r\nA ICON"), "");
  // Blocks out of order are not a reordered text.
  EXPECT_NE(testing::checkIdempotent("B ICON\r\n{\r\n}\r\n\r\n\r\nA ICON\r\n{\r\n}"), "");
}

TEST(ReorderInvariants, DiskRoundTripHoldsForEveryKindOfLineEnd) {
  for (const std::string bytes : {"", "a\nb\n", "a\r\nb\n", "a\rb\n", "\r", "a\n\r"})
    EXPECT_EQ(testing::checkDiskRoundTrip(bytes), "") << testing::detail::excerpt(bytes);
}

TEST(ReorderInvariants, StretchesCatchBlocksMovedAcrossABarrier) {
  const std::string text = "B ICON\r\n{\r\n}\r\n#ifdef X\r\nA ICON\r\n{\r\n}\r\n#endif\r\n";
  EXPECT_EQ(testing::checkStretchesKept(text, reorderScript(text)), "");
  EXPECT_NE(testing::checkStretchesKept(
                text, "A ICON\r\n{\r\n}\r\nB ICON\r\n{\r\n}\r\n#ifdef X\r\n#endif"),
            "");
  EXPECT_NE(testing::checkStretchesKept(
                text, "B ICON\r\n{\r\n}\r\n#ifndef X\r\nA ICON\r\n{\r\n}\r\n#endif"),
            "");
  // A block cut in two at the barrier.
  EXPECT_NE(testing::checkStretchesKept(
                text, "B ICON\r\n{\r\n#ifdef X\r\n}\r\nA ICON\r\n{\r\n}\r\n#endif"),
            "");
}

TEST(ReorderInvariants, NoHeaderIsTakenFromInsideALongLine) {
  EXPECT_FALSE(testing::hasHeaderInsideALine("A ICON\r\n" + std::string(1000, 'x')));
  EXPECT_FALSE(testing::hasHeaderInsideALine(std::string(kMaxScanLine, 'x') + "Q ICON"));
}

TEST(Corpus, HoldsEveryFileItsManifestLists) {
  SKIP_WITHOUT_CORPUS();
  const std::vector<std::string> files = corpusFiles();
  const std::set<std::string> listed = manifestFiles();
  ASSERT_FALSE(listed.empty()) << "no files in the manifest in " << kCorpus;
  EXPECT_EQ(std::set<std::string>(files.begin(), files.end()), listed);
}

// Headers written with several blanks or a tab before the keyword, as projects align them in
// columns, are found like any other: the corpus holds such headers, and each one's block is
// located and kept by the reorder.
TEST(Corpus, HeadersAlignedInColumnsAreFound) {
  SKIP_WITHOUT_CORPUS();
  std::size_t headers = 0;
  std::size_t aligned = 0;
  std::size_t locatable = 0;
  for (const std::string& file : corpusFiles()) {
    const std::string text = corpusText(file);
    const std::vector<HeaderLine> lines = scanHeaderLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const HeaderLine& h = lines[i];
      ++headers;
      if (h.locatable) ++locatable;
      const std::size_t gap = h.offset + h.name.size();
      if (text.compare(gap, 2, "  ") != 0 && text[gap] != '\t') continue;
      ++aligned;
      EXPECT_TRUE(locateBlock(text, h.name, h.type)) << file << ": " << h.name;
    }
  }
  std::cout << "[ corpus   ] " << headers << " header lines, " << locatable << " locatable, "
            << aligned << " aligned in columns\n";
  EXPECT_EQ(locatable, headers);
  EXPECT_GT(aligned, 0u) << "the corpus no longer holds a header aligned in columns";
}

// A script that compiles without headers, with the barriers real projects write: whatever
// the defines, the compiler reads the same resources before and after the reorder.
TEST(ResourceCompiler, ReadsTheSameResourcesBeforeAndAfterTheReorder) {
  if (!haveWindres()) GTEST_SKIP() << kWindres << " not found (Debian: binutils-mingw-w64-x86-64)";
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
      "\r\nLANGUAGE 16, 1\r\n"
      "Z DIALOG 0, 0, 30, 30\r\nBEGIN\r\nEND\r\n"
      "V\tVERSIONINFO\r\nFILEVERSION 1,0,0,1\r\nBEGIN\r\n BLOCK \"StringFileInfo\"\r\n"
      " BEGIN\r\n  BLOCK \"041004b0\"\r\n  BEGIN\r\n   VALUE \"A\", \"b\"\r\n  END\r\n END\r\n"
      "END\r\n"
      "A DIALOG 0, 0, 40, 40\r\nBEGIN\r\nEND\r\n";
  const std::string reordered = reorderScript(script);
  ASSERT_NE(reordered, script);
  const testing::TempDir dir;
  dir.write("app.manifest", "<assembly/>");
  for (const std::string defines : {"", "-DX", "-DX -DNO_MANIFEST"}) {
    const Compiled before = compileScript(dir, "before", script, dir.path(), defines);
    ASSERT_TRUE(before.ok) << defines << ": " << before.output;
    const Compiled after = compileScript(dir, "after", reordered, dir.path(), defines);
    ASSERT_TRUE(after.ok) << defines << ": " << after.output;
    EXPECT_EQ(before.output, after.output) << defines;
  }
}

class CorpusReorder : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_CORPUS();
    const FileRead read = readWholeFile((kCorpus / GetParam()).string());
    ASSERT_EQ(read.error, 0) << GetParam();
    bytes = read.bytes;
    doc.load("", read.bytes);
    reordered = reorderScript(doc.text());
  }
  std::string bytes;  // as read, without the end-of-file mark
  Document doc;
  std::string reordered;
};

TEST_P(CorpusReorder, EveryLocatableBlockIsPlacedWhole) {
  const std::string violation = testing::checkBlocksKept(doc.text(), reordered);
  EXPECT_TRUE(violation.empty()) << violation;
}

TEST_P(CorpusReorder, NoByteIsLostOrInvented) {
  const std::string violation = testing::checkSameNonSpaceBytes(doc.text(), reordered);
  EXPECT_TRUE(violation.empty()) << violation;
}

TEST_P(CorpusReorder, EveryLineSurvives) {
  const std::string violation = testing::checkLinesKept(doc.text(), reordered);
  EXPECT_TRUE(violation.empty()) << violation;
}

TEST_P(CorpusReorder, NoBlockCrossesABarrier) {
  const std::string violation = testing::checkStretchesKept(doc.text(), reordered);
  EXPECT_TRUE(violation.empty()) << violation;
}

TEST_P(CorpusReorder, IndexListsTheSameResources) {
  const std::string violation = testing::checkSameIndex(doc.text(), reordered);
  EXPECT_TRUE(violation.empty()) << violation;
}

TEST_P(CorpusReorder, ReorderingAgainChangesNothing) {
  const std::string violation = testing::checkIdempotent(reordered);
  EXPECT_TRUE(violation.empty()) << violation;
}

TEST_P(CorpusReorder, DiskFormRoundTrips) {
  const std::string violation = testing::checkDiskRoundTrip(bytes);
  EXPECT_TRUE(violation.empty()) << violation;
  EXPECT_EQ(doc.diskBytes(), bytes);
}

TEST_P(CorpusReorder, ResourceCompilerReadsTheSameResources) {
  if (!haveWindres()) GTEST_SKIP() << kWindres << " not found (Debian: binutils-mingw-w64-x86-64)";
  const testing::TempDir dir;
  const Compiled before = compileScript(dir, "before", doc.text(), kCorpus);
  if (!before.ok) GTEST_SKIP() << GetParam() << " does not compile on its own: " << before.output;
  const Compiled after = compileScript(dir, "after", reordered, kCorpus);
  ASSERT_TRUE(after.ok) << "the reordered script does not compile: " << after.output;
  EXPECT_EQ(before.output, after.output);
}

INSTANTIATE_TEST_SUITE_P(Scripts, CorpusReorder, ::testing::ValuesIn(corpusCases()), caseName);

}  // namespace
}  // namespace kolvre
