// On every real script, a dialog added (new, or pasted from the clipboard) and deleted again
// through the commands gives back the script's bytes exactly.
#include <gtest/gtest.h>

#include "document/blocks.h"
#include "document/document.h"
#include "document/name_prompt.h"
#include "document/resource_commands.h"
#include "document/script_file.h"
#include "document/templates.h"
#include "support/corpus.h"
#include "support/scripted_ui.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;

class CorpusAddDelete : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    KOLVRE_CORPUS_CASE(GetParam());
    const FileRead read = readWholeFile((testing::kCorpusDir / GetParam()).string());
    ASSERT_EQ(read.error, 0) << GetParam();
    bytes = read.bytes;
    doc.load("", bytes);
    opened = doc.text();
  }

  // Deletes the dialog `name` as the user does, confirming.
  void deleteDialog(const std::string& name) {
    for (std::size_t i = 0; i < doc.index().size(); ++i)
      if (doc.index()[i].name == name && doc.index()[i].type == ResourceType::Dialog) {
        ui.buttons = {kIdOk};
        ASSERT_TRUE(deleteResource(ui, doc, i)) << ::testing::PrintToString(ui.messageTexts());
        return;
      }
    FAIL() << name << " is not in the list";
  }

  // A name that sorts first among the dialogs and one that sorts last, where the script does
  // not hold them already.
  std::vector<std::string> freeNames() const {
    std::vector<std::string> names;
    for (const char* name : {"AAAA0", "ZZZZ9"})
      if (nameRefusal(doc.index(), name, "DIALOG", doc.encoding()).empty()) names.push_back(name);
    return names;
  }

  void expectBytesAsOpened(const std::string& what) {
    EXPECT_EQ(doc.text(), opened) << what;
    EXPECT_EQ(doc.diskBytes(), bytes) << what;  // LF and UTF-16 files included
  }

  ScriptedUi ui;
  Document doc;
  std::string opened;
  std::string bytes;
};

TEST_P(CorpusAddDelete, NewDialogThenDeleteGivesBackTheBytes) {
  for (const std::string& name : freeNames()) {
    ui.inputs = {name};
    if (!newResource(ui, doc, ResourceType::Dialog)) continue;  // no place for it: nothing added
    deleteDialog(name);
    expectBytesAsOpened("new " + name);
  }
}

TEST_P(CorpusAddDelete, PastedDialogThenDeleteGivesBackTheBytes) {
  // The script's own first dialog as copied, or the new dialog's text where it has none.
  ui.clipboard = resourceTemplate(ResourceType::Dialog, "COPIED");
  for (std::size_t i = 0; i < doc.index().size(); ++i) {
    const auto block = blockAt(doc.statements(), doc.index()[i].offset);
    if (doc.index()[i].type == ResourceType::Dialog && block && block->complete) {
      copyResource(ui, doc, i);
      break;
    }
  }
  for (const std::string& name : freeNames()) {
    ui.inputs = {name};
    if (!pasteResource(ui, doc, std::nullopt)) continue;
    deleteDialog(name);
    expectBytesAsOpened("paste " + name);
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, CorpusAddDelete, ::testing::ValuesIn(testing::corpusCases()),
                         testing::corpusCaseName);

}  // namespace
}  // namespace kolvre
