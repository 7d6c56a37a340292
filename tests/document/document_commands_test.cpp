#include "document/document_commands.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/recording_list.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "ui/error_record.h"

namespace kolvre {
namespace {

using testing::RecordingList;
using testing::ScriptedUi;
using testing::TempDir;

const std::string kModified = "Il file di risorse è stato modificato. Salvo le modifiche?";

class DocumentCommands : public ::testing::Test {
 protected:
  void open(const std::string& name, const std::string& bytes) {
    const std::string f = dir.write(name, bytes);
    loadDocument(doc, f);
    AGGIORNA(doc, &list);
  }
  TempDir dir;
  ScriptedUi ui;
  RecordingList list;
  Document doc;
};

TEST_F(DocumentCommands, CloseAsksNothingWhenTextEqualsTheFile) {
  open("a.rc", "A ICON\n{\n}\n\x1A");  // LF line ends and a Ctrl-Z: still unchanged
  EXPECT_TRUE(CHIUDI(ui, doc));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentCommands, CloseAnswersFollowTheQuestion) {
  open("a.rc", "A ICON\r\n{\r\n}");
  doc.text += "\r\n";
  ui.buttons = {kIdCancel, kIdNo, kIdYes};
  EXPECT_FALSE(CHIUDI(ui, doc));
  EXPECT_TRUE(CHIUDI(ui, doc));
  EXPECT_EQ(TempDir::read(doc.fileName), "A ICON\r\n{\r\n}");
  EXPECT_TRUE(CHIUDI(ui, doc));
  EXPECT_EQ(TempDir::read(doc.fileName), "A ICON\r\n{\r\n}\r\n");
  EXPECT_EQ(ui.messages[0].text, kModified);
  EXPECT_EQ(ui.messages[0].kind, MsgKind::YesNoCancel);
  EXPECT_EQ(ui.beeps, 3);
}

TEST_F(DocumentCommands, ChangedOnDiskAsksEvenWithoutEdits) {
  open("a.rc", "A ICON");
  dir.write("a.rc", "other");
  ui.buttons = {kIdNo};
  EXPECT_TRUE(CHIUDI(ui, doc));
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(DocumentCommands, DeletedFileWithEmptyTextCountsAsUnchanged) {
  open("a.rc", "");
  std::filesystem::remove(doc.fileName);
  EXPECT_TRUE(CHIUDI(ui, doc));
}

TEST_F(DocumentCommands, CloseReportsAFailedSave) {
  open("a.rc", "x");
  doc.text = "y";
  std::filesystem::remove_all(dir.path());
  ui.buttons = {kIdYes};
  EXPECT_FALSE(CHIUDI(ui, doc));
  EXPECT_EQ(ui.messages.back().text, "Impossibile salvare il file " + doc.fileName + ".");
}

TEST_F(DocumentCommands, NewEmptiesAnExistingFileAtOnce) {
  open("a.rc", "A ICON");
  const std::string other = dir.write("b.rc", "B ICON\r\n{\r\n}");
  ui.files = {dir.file("b")};  // no extension: ".RC" is added
  EXPECT_TRUE(CREARC(ui, doc, &list));
  EXPECT_EQ(doc.fileName, dir.file("b.RC"));
  EXPECT_TRUE(std::filesystem::exists(dir.file("b.RC")));

  ui.files = {other};
  ui.buttons = {kIdOk};
  EXPECT_TRUE(CREARC(ui, doc, &list));
  EXPECT_EQ(TempDir::read(other), "");
  EXPECT_EQ(ui.messages.back().text, "Sostituire il file esistente?");
  EXPECT_TRUE(doc.index.empty());
  EXPECT_EQ(ui.setting("Mru", "File1"), other);
  EXPECT_EQ(ui.setting("Mru", "File2"), dir.file("b.RC"));
}

TEST_F(DocumentCommands, NewDeclinedChangesNothing) {
  open("a.rc", "A ICON");
  const std::string other = dir.write("b.rc", "keep");
  ui.files = {other};
  ui.buttons = {kIdCancel};
  EXPECT_FALSE(CREARC(ui, doc, &list));
  EXPECT_EQ(TempDir::read(other), "keep");
  ui.files = {""};
  EXPECT_FALSE(CREARC(ui, doc, &list));
  EXPECT_EQ(doc.fileName, dir.file("a.rc"));
}

TEST_F(DocumentCommands, CancelledSaveQuestionStopsOpenAndNew) {
  open("a.rc", "A ICON");
  doc.text = "changed";
  ui.buttons = {kIdCancel, kIdCancel};
  EXPECT_FALSE(APRIRC(ui, doc, &list));
  EXPECT_FALSE(CREARC(ui, doc, &list));
  EXPECT_EQ(doc.text, "changed");
  EXPECT_TRUE(ui.dialogTitles.empty());
}

TEST_F(DocumentCommands, OpenMissingFileFromDialogIsReported) {
  open("a.rc", "A ICON");
  ui.files = {dir.file("nothere")};
  EXPECT_FALSE(APRIRC(ui, doc, &list));
  EXPECT_EQ(ui.messages.back().text, "Impossibile trovare il file " + dir.file("nothere.RC") + ".");
  EXPECT_EQ(ui.dialogTitles.back(), "Apri file di risorse");
}

TEST_F(DocumentCommands, OpenGivenPathOfAMissingFileGivesAnEmptyDocument) {
  open("a.rc", "A ICON");
  EXPECT_TRUE(APRIRC(ui, doc, &list, dir.file("gone")));
  EXPECT_EQ(doc.fileName, dir.file("gone"));
  EXPECT_EQ(doc.text, "");
  EXPECT_TRUE(SALVARC(ui, doc));
  EXPECT_TRUE(std::filesystem::exists(dir.file("gone")));
}

TEST_F(DocumentCommands, OpenRebuildsIndexAndList) {
  open("a.rc", "");
  const std::string f = dir.write("b.rc", "B ICON\r\n{\r\n}\r\nA ICON\r\n{\r\n}");
  ui.files = {f};
  EXPECT_TRUE(APRIRC(ui, doc, &list));
  ASSERT_EQ(list.bound.size(), 2u);
  EXPECT_EQ(list.bound[0].name, "A");
  EXPECT_EQ(list.row, 1);
  EXPECT_EQ(list.stabilized, 2);
}

TEST_F(DocumentCommands, OpenOfAnUnreadableFileLeavesTheDocument) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  open("a.rc", "A ICON");
  const std::string f = dir.write("b.rc", "B ICON");
  ::chmod(f.c_str(), 0);
  EXPECT_THROW(APRIRC(ui, doc, &list, f), CommandError);
  EXPECT_EQ(doc.fileName, dir.file("a.rc"));
}

TEST_F(DocumentCommands, OpenOfAFolderIsRefusedWithoutChange) {
  open("a.rc", "A ICON");
  const std::string folder = dir.file("sub.rc");
  std::filesystem::create_directory(folder);
  try {
    APRIRC(ui, doc, &list, folder);
    FAIL() << "a folder opened as a script";
  } catch (const CommandError& e) {
    EXPECT_EQ(stopMessage(e.record()), "Impossibile accedere al file " + upperAscii(folder) + ".");
  }
  EXPECT_EQ(doc.fileName, dir.file("a.rc"));
}

TEST_F(DocumentCommands, SaveAsChecksFolderAndExistingFile) {
  open("a.rc", "A ICON");
  std::filesystem::create_directory(dir.file("d.RC"));
  ui.files = {dir.file("d")};
  EXPECT_FALSE(SALVARC(ui, doc, true));
  EXPECT_EQ(ui.messages.back().text, "Esiste già una cartella chiamata " + dir.file("d.RC") + ".");

  // Onto its own name: asks, and on cancel writes nothing.
  ui.files = {doc.fileName};
  ui.buttons = {kIdCancel};
  doc.text = "new";
  EXPECT_FALSE(SALVARC(ui, doc, true));
  EXPECT_EQ(TempDir::read(doc.fileName), "A ICON");
  EXPECT_EQ(ui.messages.back().text, "Sostituire il file esistente?");

  ui.files = {dir.file("c.rc")};
  EXPECT_TRUE(SALVARC(ui, doc, true));
  EXPECT_EQ(doc.fileName, dir.file("c.rc"));
  EXPECT_EQ(TempDir::read(dir.file("c.rc")), "new");
  EXPECT_EQ(ui.setting("Mru", "File1"), dir.file("c.rc"));
}

TEST_F(DocumentCommands, FailedSaveAsKeepsTheNewNameAndTheOldFile) {
  open("a.rc", "A ICON");
  ui.files = {dir.file("missing/c.rc")};
  EXPECT_FALSE(SALVARC(ui, doc, true));
  EXPECT_EQ(doc.fileName, dir.file("missing/c.rc"));
  EXPECT_EQ(ui.messages.back().text,
            "Impossibile salvare il file " + dir.file("missing/c.rc") + ".");
}

TEST_F(DocumentCommands, SaveWritesLfFilesBackWithLf) {
  open("a.rc", "B ICON\n{\n}\nA ICON\n{\n}\n");
  ORDINARES(doc);
  EXPECT_TRUE(SALVARC(ui, doc));
  EXPECT_EQ(TempDir::read(doc.fileName), "A ICON\n{\n}\n\n\nB ICON\n{\n}");
  EXPECT_TRUE(CHIUDI(ui, doc));
}

TEST_F(DocumentCommands, SaveDropsTheCtrlZMark) {
  open("a.rc", "A ICON\r\n\x1A");
  EXPECT_TRUE(SALVARC(ui, doc));
  EXPECT_EQ(TempDir::read(doc.fileName), "A ICON\r\n");
}

TEST(Refresh, MovesToTheNamedEntryByTypeLetter) {
  Document doc;
  doc.text = "A DIALOG\r\nA ICON\r\nV VERSIONINFO\r\nv VERSIONINFO";
  RecordingList list;
  AGGIORNA(doc, &list, "A", "ICON");
  EXPECT_EQ(list.row, 2);
  AGGIORNA(doc, &list, "v", "VI");
  EXPECT_EQ(list.row, 4);
  AGGIORNA(doc, &list, "nothere", "D");
  EXPECT_EQ(list.row, 1);
  EXPECT_EQ(list.statusCleared, 0);
  doc.text.clear();
  AGGIORNA(doc, &list);
  EXPECT_EQ(list.statusCleared, 1);
}

}  // namespace
}  // namespace kolvre
