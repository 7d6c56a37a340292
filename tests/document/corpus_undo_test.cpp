// Every command on real scripts can be undone and redone byte for byte.
#include <gtest/gtest.h>

#include <random>

#include "document/document.h"
#include "document/resource_edits.h"
#include "document/script_file.h"
#include "document/templates.h"
#include "support/corpus.h"
#include "support/current_entry.h"

namespace kolvre {
namespace {

class CorpusUndo : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    KOLVRE_CORPUS_CASE(GetParam());
    const FileRead read = readWholeFile((testing::kCorpusDir / GetParam()).string());
    ASSERT_EQ(read.error, 0) << GetParam();
    doc.load("", read.bytes);
    opened = doc.text();
    bytes = read.bytes;
  }
  // The first entry whose block can be located, if any.
  // The first entry whose block is found; `named`: the first with a name of its own (a string
  // table has none to rename).
  std::optional<std::size_t> firstLocatable(bool named = false) const {
    for (std::size_t i = 0; i < doc.index().size(); ++i)
      if (entryBlock(doc.text(), doc.index(), i) &&
          !(named && doc.index()[i].type == ResourceType::StringTable))
        return i;
    return std::nullopt;
  }
  void expectCurrentIs(const std::optional<ResourceKey>& key) {
    if (key) {
      EXPECT_TRUE(findEntry(doc.index(), *key)) << key->name;
    }
  }

  Document doc;
  testing::CurrentEntry current{doc};
  std::string opened;
  std::string bytes;  // as read, without the end-of-file mark
};

TEST_P(CorpusUndo, RenameThenUndoGivesBackTheBytesAndTheEntry) {
  const auto at = firstLocatable(true);
  if (!at) GTEST_SKIP() << "no locatable resource";
  const ResourceKey before = keyAt(doc.index(), *at);
  const std::string name = "ZZRENAMED";
  ASSERT_TRUE(
      doc.commit(renameEdit(doc.index(), *at, *entryBlock(doc.text(), doc.index(), *at), name)));
  const std::string renamed = doc.text();
  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.text(), opened);
  EXPECT_EQ(doc.index(), indexResources(opened));
  EXPECT_EQ(findEntry(doc.index(), before), at);
  EXPECT_EQ(current.row, static_cast<int>(*at) + 1);
  ASSERT_TRUE(doc.redo());
  EXPECT_EQ(doc.text(), renamed);
}

TEST_P(CorpusUndo, DeleteEachResourceThenUndoAll) {
  std::vector<std::string> texts{doc.text()};
  // Always the first locatable entry: every resource in turn, until none can be found.
  while (const auto at = firstLocatable()) {
    ASSERT_TRUE(doc.commit(
        deleteEdit(doc.text(), doc.index(), *at, *entryBlock(doc.text(), doc.index(), *at))
            .value()));
    texts.push_back(doc.text());
  }
  for (std::size_t i = texts.size() - 1; i > 0; --i) {
    ASSERT_TRUE(doc.undo());
    ASSERT_EQ(doc.text(), texts[i - 1]) << "after undoing delete " << i;
  }
  EXPECT_EQ(doc.text(), opened);
  EXPECT_EQ(doc.diskBytes(), bytes);  // UTF-16 and LF files included
  EXPECT_FALSE(doc.undo());
}

TEST_P(CorpusUndo, RandomCommandsWithUndoAndRedoMatchTheSavedTexts) {
  std::mt19937 random(static_cast<unsigned>(GetParam().size()));
  // The texts of the steps done so far; `at` is the one the document holds.
  std::vector<std::string> texts{doc.text()};
  std::size_t at = 0;
  for (int i = 0; i < 60; ++i) {
    const unsigned pick = random() % 6;
    std::optional<Edit> edit;
    const std::size_t n = doc.index().size();
    const std::size_t position = n ? random() % n : 0;
    const auto block = n ? entryBlock(doc.text(), doc.index(), position) : std::nullopt;
    if (pick == 0 && block && doc.index()[position].type != ResourceType::StringTable) {
      edit = renameEdit(doc.index(), position, *block, "R" + std::to_string(i));
    } else if (pick == 1 && block) {
      edit = deleteEdit(doc.text(), doc.index(), position, *block);
    } else if (pick == 2) {
      edit = appendEdit(doc.text(), resourceTemplate(ResourceType::Icon, "N" + std::to_string(i)),
                        kLabelNew);
    } else if (pick == 3 && block) {
      edit = replaceEdit(doc.text(), doc.index(), position, *block,
                         std::string(block->of(doc.text())) + "\r\n// edited");
    } else if (pick == 4) {
      EXPECT_EQ(doc.undo(), at > 0);
      if (at > 0) --at;
    } else {
      EXPECT_EQ(doc.redo(), at + 1 < texts.size());
      if (at + 1 < texts.size()) ++at;
    }
    if (edit) {
      const std::optional<ResourceKey> after = edit->currentAfter;
      if (doc.commit(*edit)) {
        texts.resize(at + 1);
        texts.push_back(doc.text());
        ++at;
        expectCurrentIs(after);
      }
    }
    ASSERT_EQ(doc.text(), texts[at]) << "step " << i;
    ASSERT_EQ(doc.index(), indexResources(doc.text())) << "step " << i;
  }
  while (doc.undo()) {
  }
  EXPECT_EQ(doc.text(), opened);
}

INSTANTIATE_TEST_SUITE_P(Scripts, CorpusUndo, ::testing::ValuesIn(testing::corpusCases()),
                         testing::corpusCaseName);

}  // namespace
}  // namespace kolvre
