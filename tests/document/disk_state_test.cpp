// The script's file on disk: what the rules ask about, and the commands that ask.
#include "document/disk_state.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/document_commands.h"
#include "support/replace_text.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

TEST(DiskNotice, OnceForEachChangeDeletionOrReappearance) {
  const FileStamp loaded{true, 10, 1000, 7}, rewritten{true, 12, 2000, 7}, missing{};
  DiskState state{loaded, std::nullopt};
  EXPECT_EQ(diskNotice(state, loaded, true), DiskNotice::None);  // as loaded, or our own save
  EXPECT_EQ(diskNotice({}, rewritten, true), DiskNotice::None);  // a text not read from a file
  EXPECT_EQ(diskNotice(state, rewritten, false), DiskNotice::Changed);
  // Another file renamed into place, same size and time.
  EXPECT_EQ(diskNotice(state, {true, 10, 1000, 8}, true), DiskNotice::ChangedOverUnsaved);
  EXPECT_EQ(diskNotice(state, missing, true), DiskNotice::Deleted);
  state.noticed = missing;
  EXPECT_EQ(diskNotice(state, missing, true), DiskNotice::None);
  EXPECT_EQ(diskNotice(state, rewritten, false), DiskNotice::Changed);  // back again
  state.noticed = rewritten;
  EXPECT_EQ(diskNotice(state, rewritten, true), DiskNotice::None);
  // A save asks over another program's copy, not over a deleted file nor its own.
  EXPECT_TRUE(diskCopyIsForeign(state, rewritten));
  EXPECT_FALSE(diskCopyIsForeign(state, missing));
  EXPECT_FALSE(diskCopyIsForeign(state, loaded));
}

class ScriptOnDisk : public ::testing::Test {
 protected:
  void SetUp() override { loadDocument(doc, file); }
  TempDir dir;
  std::string file = dir.write("a.rc", "A ICON");
  ScriptedUi ui;
  Document doc;
};

TEST_F(ScriptOnDisk, NoKeepsTheTextAndTheSaveAsksBeforeWritingOverTheOtherCopy) {
  testing::replaceText(doc, "B ICON");
  dir.write("a.rc", "OTHER ICON");
  ui.buttons = {kIdNo, kIdNo, kIdYes};
  EXPECT_FALSE(checkScriptOnDisk(ui, doc));
  EXPECT_FALSE(checkScriptOnDisk(ui, doc));  // asked once
  EXPECT_FALSE(saveScript(ui, doc));
  EXPECT_EQ(TempDir::read(file), "OTHER ICON");
  EXPECT_TRUE(saveScript(ui, doc));
  EXPECT_EQ(TempDir::read(file), "B ICON");
  EXPECT_FALSE(checkScriptOnDisk(ui, doc));  // our own save
  const std::string overwrite = "Il file è stato modificato da un altro programma. Sovrascriverlo?";
  EXPECT_EQ(ui.messageTexts(),
            (std::vector<std::string>{"Il file è stato modificato da un altro programma. "
                                      "Ricaricarlo?\nLe modifiche non salvate andranno perse.",
                                      overwrite, overwrite}));
  EXPECT_EQ(ui.messages[0].kind, MessageKind::YesNoDefaultNo);
}

TEST_F(ScriptOnDisk, ADeletedFileIsToldOnceAndTheSaveWritesItAgain) {
  std::filesystem::remove(file);
  EXPECT_FALSE(checkScriptOnDisk(ui, doc));
  EXPECT_FALSE(checkScriptOnDisk(ui, doc));
  EXPECT_EQ(ui.messageTexts(),
            std::vector<std::string>{"Il file è stato eliminato da un altro programma.\nSarà "
                                     "scritto di nuovo al prossimo salvataggio."});
  EXPECT_TRUE(hasUnsavedChanges(doc));  // closing now asks to save it
  EXPECT_TRUE(saveScript(ui, doc));
  EXPECT_EQ(TempDir::read(file), "A ICON");
  EXPECT_EQ(ui.messages.size(), 1u);
}

}  // namespace
}  // namespace kolvre
