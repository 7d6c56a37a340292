#include "document/document_commands.h"
#include "document/reorder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "document/name_prompt.h"
#include "messages/error_record.h"
#include "support/current_entry.h"
#include "support/replace_text.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::CurrentEntry;
using testing::replaceText;
using testing::ScriptedUi;
using testing::TempDir;

const std::string kModified = "Il file di risorse è stato modificato. Salvo le modifiche?";

class DocumentCommands : public ::testing::Test {
 protected:
  void open(const std::string& name, const std::string& bytes) {
    const std::string f = dir.write(name, bytes);
    loadDocument(doc, f);
  }
  TempDir dir;
  ScriptedUi ui;
  Document doc;
  CurrentEntry list{doc};
};

TEST_F(DocumentCommands, CloseAsksNothingWhenTextEqualsTheFile) {
  open("a.rc", "A ICON\n{\n}\n\x1A");  // LF line ends and a Ctrl-Z: still unchanged
  EXPECT_TRUE(closeScript(ui, doc));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentCommands, CloseAnswersFollowTheQuestion) {
  open("a.rc", "A ICON\r\n{\r\n}");
  replaceText(doc, doc.text() + "\r\n");
  ui.buttons = {kIdCancel, kIdNo, kIdYes};
  EXPECT_FALSE(closeScript(ui, doc));
  EXPECT_TRUE(closeScript(ui, doc));
  EXPECT_EQ(TempDir::read(doc.fileName()), "A ICON\r\n{\r\n}");
  EXPECT_TRUE(closeScript(ui, doc));
  EXPECT_EQ(TempDir::read(doc.fileName()), "A ICON\r\n{\r\n}\r\n");
  EXPECT_EQ(ui.messages[0].text, kModified);
  EXPECT_EQ(ui.messages[0].kind, MessageKind::YesNoCancel);
  EXPECT_EQ(ui.beeps, 3);
}

// Unsaved changes are the document's own: a file changed on disk by another program, with no
// edit here, closes without a question (and keeps the other program's bytes); after a save
// nothing is left to save.
TEST_F(DocumentCommands, UnsavedChangesAreKnownFromTheDocument) {
  open("a.rc", "A ICON");
  dir.write("a.rc", "other");
  EXPECT_FALSE(hasUnsavedChanges(doc));
  EXPECT_TRUE(closeScript(ui, doc));
  EXPECT_TRUE(ui.messages.empty());
  replaceText(doc, "B ICON");
  EXPECT_TRUE(hasUnsavedChanges(doc));
  ASSERT_TRUE(writeDocument(ui, doc));
  EXPECT_FALSE(hasUnsavedChanges(doc));
  replaceText(doc, "A ICON");
  EXPECT_TRUE(hasUnsavedChanges(doc));
}

TEST_F(DocumentCommands, DeletedFileWithEmptyTextCountsAsUnchanged) {
  open("a.rc", "");
  std::filesystem::remove(doc.fileName());
  EXPECT_TRUE(closeScript(ui, doc));
}

TEST_F(DocumentCommands, CloseReportsAFailedSave) {
  open("a.rc", "x");
  replaceText(doc, "y");
  std::filesystem::remove_all(dir.path());
  ui.buttons = {kIdYes};
  EXPECT_FALSE(closeScript(ui, doc));
  EXPECT_EQ(ui.messages.back().text,
            "Impossibile salvare il file " + doc.fileName() + ".\nLa cartella non esiste.");
}

TEST_F(DocumentCommands, NewEmptiesAnExistingFileAtOnce) {
  open("a.rc", "A ICON");
  const std::string other = dir.write("b.rc", "B ICON\r\n{\r\n}");
  ui.files = {dir.file("b")};  // no extension: ".RC" is added
  EXPECT_TRUE(newScript(ui, doc));
  EXPECT_EQ(doc.fileName(), dir.file("b.RC"));
  EXPECT_TRUE(std::filesystem::exists(dir.file("b.RC")));

  ui.files = {other};
  ui.buttons = {kIdOk};
  EXPECT_TRUE(newScript(ui, doc));
  EXPECT_EQ(TempDir::read(other), "");
  EXPECT_EQ(ui.messages.back().text, "Sostituire il file esistente?");
  EXPECT_TRUE(doc.index().empty());
}

TEST_F(DocumentCommands, NewDeclinedChangesNothing) {
  open("a.rc", "A ICON");
  const std::string other = dir.write("b.rc", "keep");
  ui.files = {other};
  ui.buttons = {kIdCancel};
  EXPECT_FALSE(newScript(ui, doc));
  EXPECT_EQ(TempDir::read(other), "keep");
  ui.files = {""};
  EXPECT_FALSE(newScript(ui, doc));
  EXPECT_EQ(doc.fileName(), dir.file("a.rc"));
}

TEST_F(DocumentCommands, CancelledSaveQuestionStopsOpenAndNew) {
  open("a.rc", "A ICON");
  replaceText(doc, "changed");
  ui.buttons = {kIdCancel, kIdCancel};
  EXPECT_FALSE(openScriptFile(ui, doc));
  EXPECT_FALSE(newScript(ui, doc));
  EXPECT_EQ(doc.text(), "changed");
  EXPECT_TRUE(ui.dialogTitles.empty());
}

TEST_F(DocumentCommands, OpenMissingFileFromDialogIsReported) {
  open("a.rc", "A ICON");
  ui.files = {dir.file("nothere")};
  EXPECT_FALSE(openScriptFile(ui, doc));
  EXPECT_EQ(ui.messages.back().text, "Impossibile trovare il file " + dir.file("nothere.RC") + ".");
  EXPECT_EQ(ui.dialogTitles.back(), "Apri file di risorse");
}

TEST_F(DocumentCommands, OpenGivenPathOfAMissingFileGivesAnEmptyDocument) {
  open("a.rc", "A ICON");
  EXPECT_TRUE(openScriptFile(ui, doc, dir.file("gone")));
  EXPECT_EQ(doc.fileName(), dir.file("gone"));
  EXPECT_EQ(doc.text(), "");
  EXPECT_TRUE(saveScript(ui, doc));
  EXPECT_TRUE(std::filesystem::exists(dir.file("gone")));
}

TEST_F(DocumentCommands, OpenRebuildsIndexAndList) {
  open("a.rc", "");
  const std::string f = dir.write("b.rc", "B ICON\r\n{\r\n}\r\nA ICON\r\n{\r\n}");
  ui.files = {f};
  replaceText(doc, "X ICON\r\n{\r\n}");
  ui.buttons = {kIdNo};
  EXPECT_TRUE(openScriptFile(ui, doc));
  ASSERT_EQ(doc.index().size(), 2u);
  EXPECT_EQ(doc.index()[0].name, "A");
  EXPECT_EQ(list.last->kind, DocumentChange::Kind::Loaded);
  EXPECT_FALSE(list.last->current);
  EXPECT_FALSE(doc.canUndo());  // a new file starts a new history
}

TEST_F(DocumentCommands, OpenOfAnUnreadableFileLeavesTheDocument) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  open("a.rc", "A ICON");
  const std::string f = dir.write("b.rc", "B ICON");
  ::chmod(f.c_str(), 0);
  EXPECT_THROW((void)openScriptFile(ui, doc, f), CommandError);
  EXPECT_EQ(doc.fileName(), dir.file("a.rc"));
}

TEST_F(DocumentCommands, OpenOfAFolderIsRefusedWithoutChange) {
  open("a.rc", "A ICON");
  const std::string folder = dir.file("sub.rc");
  std::filesystem::create_directory(folder);
  try {
    (void)openScriptFile(ui, doc, folder);
    FAIL() << "a folder opened as a script";
  } catch (const CommandError& e) {
    EXPECT_EQ(stopMessage(e.record()), "Impossibile accedere al file " + folder + ".");
  }
  EXPECT_EQ(doc.fileName(), dir.file("a.rc"));
}

TEST_F(DocumentCommands, SaveAsChecksFolderAndExistingFile) {
  open("a.rc", "A ICON");
  std::filesystem::create_directory(dir.file("d.RC"));
  ui.files = {dir.file("d")};
  EXPECT_FALSE(saveScript(ui, doc, true));
  EXPECT_EQ(ui.messages.back().text, "Esiste già una cartella chiamata " + dir.file("d.RC") + ".");

  // Onto its own name: asks, and on cancel writes nothing.
  ui.files = {doc.fileName()};
  ui.buttons = {kIdCancel};
  replaceText(doc, "new");
  EXPECT_FALSE(saveScript(ui, doc, true));
  EXPECT_EQ(TempDir::read(doc.fileName()), "A ICON");
  EXPECT_EQ(ui.messages.back().text, "Sostituire il file esistente?");

  ui.files = {dir.file("c.rc")};
  EXPECT_TRUE(saveScript(ui, doc, true));
  EXPECT_EQ(doc.fileName(), dir.file("c.rc"));
  EXPECT_EQ(TempDir::read(dir.file("c.rc")), "new");
}

TEST_F(DocumentCommands, FailedSaveAsKeepsTheOldNameAndFile) {
  open("a.rc", "A ICON");
  ui.files = {dir.file("missing/c.rc")};
  EXPECT_FALSE(saveScript(ui, doc, true));
  EXPECT_EQ(doc.fileName(), dir.file("a.rc"));
  EXPECT_EQ(TempDir::read(dir.file("a.rc")), "A ICON");
  EXPECT_EQ(ui.messages.back().text, "Impossibile salvare il file " + dir.file("missing/c.rc") +
                                         ".\nLa cartella non esiste.");
}

TEST_F(DocumentCommands, SaveWritesLfFilesBackWithLf) {
  open("a.rc", "B ICON\n{\n}\nA ICON\n{\n}\n");
  replaceText(doc, reorderScript(doc.text()));
  EXPECT_TRUE(saveScript(ui, doc));
  EXPECT_EQ(TempDir::read(doc.fileName()), "A ICON\n{\n}\nB ICON\n{\n}\n");
  EXPECT_TRUE(closeScript(ui, doc));
}

TEST_F(DocumentCommands, SaveDropsTheCtrlZMark) {
  open("a.rc", "A ICON\r\n\x1A");
  EXPECT_TRUE(saveScript(ui, doc));
  EXPECT_EQ(TempDir::read(doc.fileName()), "A ICON\r\n");
}

TEST(NamePrompt, ANameIsTakenOnlyByAResourceOfTheSameType) {
  const ResourceIndex index =
      indexResources("A MENU\r\n{\r\n}\r\nA PNG \"a.png\"\r\nA ICON \"a.ico\"");
  const auto taken = [&](std::string_view typeWord) {
    return !nameRefusal(index, "A", typeWord, TextEncoding::Utf8).empty();
  };
  EXPECT_TRUE(taken("MENU"));
  EXPECT_FALSE(taken("M"));   // a user-defined type in the script, not the code of a menu
  EXPECT_TRUE(taken("png"));  // a user type's word, in any case
  EXPECT_TRUE(taken("ICON\r\n{\r\n}"));  // a header's second token running into its body
  EXPECT_FALSE(taken("MENUEX"));         // not a menu, though its word begins like one
  EXPECT_FALSE(taken("ICONS"));
  EXPECT_FALSE(taken("ACCELERATORS"));
}

TEST(HeaderKeys, NameTheFirstEntryOfThatNameWhoseCodeSharesTheTypesFirstLetter) {
  Document doc;
  doc.load("", "A DIALOG\r\nA ICON\r\nV VERSIONINFO\r\nv VERSIONINFO\r\nv VERSIONINFO");
  const auto at = [&](std::string_view name, std::string_view type) {
    const auto key = keyForHeader(name, type);
    return key ? findEntry(doc.index(), *key) : std::nullopt;
  };
  EXPECT_EQ(at("A", "ICON"), 1u);
  EXPECT_EQ(at("v", "VI"), 2u);  // names are one without regard to case
  EXPECT_EQ(at("A", "DIALOGEX"), 0u);
  EXPECT_EQ(at("nothere", "D"), std::nullopt);
  EXPECT_EQ(keyForHeader("A", "MENU"), (ResourceKey{"A", ResourceType::Menu, 0}));
  EXPECT_EQ(keyForHeader("A", "PNG"), (ResourceKey{"A", ResourceType::Other, 0, "PNG"}));
  // A header aligned in columns names its resource as the scanner reads it.
  EXPECT_EQ(keyOfText("IDD_X\t  DIALOGEX 0\r\n{"), (ResourceKey{"IDD_X", ResourceType::Dialog, 0}));
  EXPECT_EQ(keyOfText("\r\nA ICON"), (ResourceKey{"A", ResourceType::Icon, 0}));
  // The compilers read an indented header too; a keyword in any case.
  EXPECT_EQ(keyOfText("  A ICON"), (ResourceKey{"A", ResourceType::Icon, 0}));
  EXPECT_EQ(keyOfText("a iCon"), (ResourceKey{"a", ResourceType::Icon, 0}));
  EXPECT_EQ(keyOfText("// A ICON\r\n& ICON"), std::nullopt);
  // The third of three namesakes keeps its own key, V and v being one name.
  EXPECT_EQ(keyAt(doc.index(), 4), (ResourceKey{"v", ResourceType::VersionInfo, 2}));
  EXPECT_EQ(findEntry(doc.index(), keyAt(doc.index(), 4)), 4u);
}

}  // namespace
}  // namespace kolvre
