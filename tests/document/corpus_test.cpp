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

namespace kolvre {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = KOLVRE_CORPUS_DIR;
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

INSTANTIATE_TEST_SUITE_P(Scripts, CorpusReorder, ::testing::ValuesIn(corpusCases()), caseName);

}  // namespace
}  // namespace kolvre
