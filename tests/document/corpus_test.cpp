// Reordering real resource scripts: each file of the shared corpus is read as the editor reads
// it and must keep its blocks, its bytes, its lines and its index through a reorder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/reorder.h"
#include "support/reorder_invariants.h"

namespace kolvre {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = KOLVRE_CORPUS_DIR;
const std::string kManifest = "MANIFEST.tsv";

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

// The file names the manifest lists (its first column, header row left out).
std::set<std::string> manifestFiles() {
  std::set<std::string> names;
  std::ifstream in(kCorpus / kManifest);
  std::string row;
  for (bool header = true; std::getline(in, row); header = false)
    if (!header && !row.empty()) names.insert(row.substr(0, row.find('\t')));
  return names;
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

TEST(ReorderInvariants, HeadersFromThePiecesOfLongLinesAreTold) {
  EXPECT_FALSE(testing::hasHeaderInsideALine("A ICON\r\n" + std::string(1000, 'x')));
  EXPECT_TRUE(testing::hasHeaderInsideALine(std::string(kMaxScanLine, 'x') + "Q ICON"));
}

TEST(Corpus, HoldsEveryFileItsManifestLists) {
  const std::vector<std::string> files = corpusFiles();
  const std::set<std::string> listed = manifestFiles();
  ASSERT_FALSE(listed.empty()) << "no manifest in " << kCorpus;
  EXPECT_EQ(std::set<std::string>(files.begin(), files.end()), listed);
}

class CorpusReorder : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
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

INSTANTIATE_TEST_SUITE_P(Scripts, CorpusReorder, ::testing::ValuesIn(corpusFiles()), caseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusReorder);

}  // namespace
}  // namespace kolvre
