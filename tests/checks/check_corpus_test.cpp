// The checks over every script of the corpus: no crash, and every finding points at what it
// names (a resource of the index where one is named, a control of that dialog where one is).
#include <gtest/gtest.h>

#include "checks/checks.h"
#include "dialogs/dialog_reader.h"
#include "document/blocks.h"
#include "document/script_file.h"
#include "support/corpus.h"
#include "syntax/statements.h"

namespace kolvre {
namespace {

class CheckCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(CheckCorpus, FindingsPointAtWhatTheyName) {
  KOLVRE_CORPUS_CASE(GetParam());
  const std::string path = (testing::kCorpusDir / GetParam()).string();
  const FileRead read = readWholeFile(path);
  ASSERT_EQ(read.error, 0);
  const ScriptText script = fromDisk(read.bytes);
  const auto found = checkScript(script.text, path, nullptr, script.form.utf16 != Utf16::None);
  const std::vector<Statement> statements = readStatements(script.text);
  const ResourceIndex index = indexResources(script.text, statements);
  for (const Finding& f : found) {
    SCOPED_TRACE(f.message);
    EXPECT_FALSE(f.message.empty());
    if (f.resource.name.empty()) continue;  // a header the script includes
    const auto entry = findEntry(index, f.resource);
    ASSERT_TRUE(entry);
    EXPECT_EQ(index[*entry].offset, f.offset);
    if (!f.controlIndex) continue;
    ASSERT_EQ(f.resource.type, ResourceType::Dialog);
    const auto block = blockAt(statements, f.offset);
    ASSERT_TRUE(block);
    const DialogReading reading = readDialog(script.text.substr(block->begin), DialogMode::Preview);
    EXPECT_LT(*f.controlIndex, reading.dialog.controls.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CheckCorpus, ::testing::ValuesIn(testing::corpusCases()),
                         testing::corpusCaseName);

}  // namespace
}  // namespace kolvre
