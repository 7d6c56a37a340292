#include "document/recovery.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <regex>

#include "document/document_commands.h"
#include "support/replace_text.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

namespace fs = std::filesystem;
using testing::replaceText;
using testing::ScriptedUi;
using testing::TempDir;

const std::string kScript =
    "ABOUT DIALOG 0, 0, 10, 10\r\n{\r\n}\r\n\r\n\r\nLOGO BITMAP \"logo.bmp\"\r\n\r\n\r\n"
    "VER VERSIONINFO\r\n{\r\n}\r\n";
const std::string kAdded = "NEW ICON \"n.ico\"\r\n";

// The id of a process that has ended.
long endedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

class Recovery : public ::testing::Test {
 protected:
  void SetUp() override { open(dir.write("s.rc", kScript)); }
  // Loads the script, as an editor does at start.
  void open(const std::string& path) {
    file = path;
    doc = Document();
    loadDocument(doc, file);
  }
  std::string recoveryFile() const { return recoveryFilePath(folder, file); }
  std::optional<RecoveryRecord> recorded() const {
    return decodeRecovery(TempDir::read(recoveryFile()));
  }
  // The keeper's change to the text, written at once.
  void change(RecoveryKeeper& keeper, const std::string& text) {
    replaceText(doc, text);
    keeper.noteChange();
    EXPECT_FALSE(keeper.afterCommand());
    ASSERT_EQ(keeper.write(), 0);
  }
  // A recovery file for the script, as another editor would leave it.
  void leave(long pid, const std::string& text, const std::string& base = kScript) {
    RecoveryRecord record;
    record.script = file;
    record.pid = pid;
    record.time = 1714550000;
    setRecoveryData(record, base, text);
    ASSERT_EQ(writeRecoveryFile(recoveryFile(), encodeRecovery(record)), 0);
  }

  TempDir dir;
  TempDir state;
  std::string folder = (state.path() / "kolvre").string();
  std::string file;
  Document doc;
  ScriptedUi ui;
};

TEST_F(Recovery, TheFileFollowsTheUnsavedText) {
  RecoveryKeeper keeper(doc, folder);
  EXPECT_EQ(keeper.write(), 0);
  EXPECT_FALSE(fs::exists(recoveryFile()));  // nothing unsaved: nothing written

  change(keeper, kScript + kAdded);
  ASSERT_TRUE(recorded());
  EXPECT_EQ(recorded()->script, file);
  EXPECT_EQ(recorded()->pid, ::getpid());
  EXPECT_EQ(recorded()->bytes, kAdded);
  // A save removes it; the next change is a difference from the text saved.
  ASSERT_TRUE(writeDocument(ui, doc));
  EXPECT_TRUE(keeper.afterCommand());
  EXPECT_FALSE(fs::exists(recoveryFile()));
  change(keeper, doc.text() + "X ICON \"x.ico\"\r\n");
  EXPECT_EQ(recorded()->bytes, "X ICON \"x.ico\"\r\n");
  EXPECT_EQ(recoveredText(*recorded(), TempDir::read(file)).text, doc.text());
  // So does an undo back to the saved text, and a clean close.
  ASSERT_TRUE(doc.undo());
  keeper.noteChange();
  EXPECT_TRUE(keeper.afterCommand());
  EXPECT_FALSE(fs::exists(recoveryFile()));
  change(keeper, "Y ICON \"y.ico\"\r\n");
  EXPECT_TRUE(recorded()->whole);
  keeper.closed();
  EXPECT_FALSE(fs::exists(recoveryFile()));
  // And another script opened in the document's place.
  ASSERT_EQ(keeper.write(), 0);
  const std::string first = recoveryFile();
  open(dir.write("t.rc", "T ICON \"t.ico\"\r\n"));
  EXPECT_TRUE(keeper.afterCommand());
  EXPECT_FALSE(fs::exists(first));
  EXPECT_EQ(keeper.file(), recoveryFile());
}

TEST_F(Recovery, AnotherRunningEditorsFileIsLeftAloneUntilItEnds) {
  // Another editor on the same script: its own document and keeper, whose file holds its change.
  auto other = std::make_unique<Document>();
  loadDocument(*other, file);
  auto theirKeeper = std::make_unique<RecoveryKeeper>(*other, folder);
  replaceText(*other, kScript + "THEIRS ICON \"t.ico\"\r\n");
  theirKeeper->noteChange();
  ASSERT_EQ(theirKeeper->write(), 0);
  const std::string theirs = TempDir::read(recoveryFile());

  // While it runs, its file is neither written over, removed nor offered.
  RecoveryKeeper keeper(doc, folder);
  change(keeper, kScript + kAdded);
  ASSERT_TRUE(doc.undo());
  EXPECT_TRUE(keeper.afterCommand());
  keeper.closed();
  EXPECT_FALSE(offerRecovery(ui, doc, keeper));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(TempDir::read(recoveryFile()), theirs);

  // Once it has ended (a crash: its lock goes with the process, the file stays), the file is
  // still not written over, but offered at the next open.
  theirKeeper.reset();
  other.reset();
  change(keeper, kScript + kAdded);
  EXPECT_EQ(TempDir::read(recoveryFile()), theirs);
  ASSERT_TRUE(doc.undo());
  EXPECT_TRUE(keeper.afterCommand());
  EXPECT_EQ(TempDir::read(recoveryFile()), theirs);
  ui.buttons = {kIdYes};
  ASSERT_TRUE(offerRecovery(ui, doc, keeper));
  EXPECT_EQ(doc.text(), kScript + "THEIRS ICON \"t.ico\"\r\n");
  // Taken in, it is this editor's: written over at the next write, removed by a save.
  keeper.noteChange();
  EXPECT_FALSE(keeper.afterCommand());
  ASSERT_EQ(keeper.write(), 0);
  EXPECT_EQ(recorded()->pid, ::getpid());
  ASSERT_TRUE(writeDocument(ui, doc));
  EXPECT_TRUE(keeper.afterCommand());
  EXPECT_FALSE(fs::exists(recoveryFile()));
}

TEST_F(Recovery, AFileIsOfferedWhoseProcessIdNamesNoEditor) {
  // The id of a running process that is no editor (this test's parent), and of a zombie: an
  // editor killed whose parent has not waited for it.
  const std::string text = kScript + "LEFT ICON \"l.ico\"\r\n";
  leave(static_cast<long>(::getppid()), text);
  RecoveryKeeper keeper(doc, folder);
  ui.buttons = {kIdNo};
  EXPECT_FALSE(offerRecovery(ui, doc, keeper));
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_FALSE(fs::exists(recoveryFile()));

  const pid_t child = ::fork();
  if (child == 0) {
    // The editor: its change written, then gone without a word.
    Document edited;
    loadDocument(edited, file);
    RecoveryKeeper theirs(edited, folder);
    replaceText(edited, text);
    theirs.noteChange();
    ::_exit(theirs.write() == 0 ? 0 : 1);
  }
  ASSERT_GT(child, 0);
  // Not waited for yet: the child stays a zombie once it has ended.
  const std::string stat = "/proc/" + std::to_string(child) + "/stat";
  for (int i = 0; i < 500 && !fs::exists(recoveryFile()); ++i) ::usleep(10'000);
  std::string state;
  for (int i = 0; i < 500; ++i, ::usleep(10'000)) {
    state = TempDir::read(stat);
    if (state.find(") Z ") != std::string::npos) break;
  }
  if (fs::exists("/proc/self/stat")) {
    EXPECT_NE(state.find(") Z "), std::string::npos) << state;
  }
  ASSERT_TRUE(recorded());
  EXPECT_EQ(recorded()->pid, child);
  ui.messages.clear();
  ui.buttons = {kIdYes};
  EXPECT_TRUE(offerRecovery(ui, doc, keeper));
  EXPECT_EQ(doc.text(), text);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(Recovery, AKeeperNeverRemovesAFileItDidNotWrite) {
  // An ended editor's file, found after this one opened the script: a save, an undo back to the
  // saved text, another script and a clean close all leave it for the question.
  RecoveryKeeper keeper(doc, folder);
  leave(endedProcess(), kScript + kAdded);
  const std::string left = TempDir::read(recoveryFile());
  change(keeper, kScript + "MINE ICON \"m.ico\"\r\n");
  ASSERT_TRUE(writeDocument(ui, doc));
  EXPECT_TRUE(keeper.afterCommand());
  ASSERT_TRUE(doc.undo());
  keeper.noteChange();
  keeper.afterCommand();
  keeper.closed();
  open(dir.write("t.rc", "T ICON \"t.ico\"\r\n"));
  EXPECT_TRUE(keeper.afterCommand());
  EXPECT_EQ(TempDir::read(recoveryFilePath(folder, (dir.path() / "s.rc").string())), left);
}

TEST_F(Recovery, AnUnwritableFolderIsToldOnce) {
  const std::string blocked = (state.path() / "blocked").string();
  state.write("blocked", "a file where the folder should be");
  RecoveryKeeper keeper(doc, blocked + "/kolvre");
  replaceText(doc, kScript + kAdded);
  keeper.noteChange();
  keeper.writeOrTell(ui);
  keeper.writeOrTell(ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Impossibile scrivere il file di recupero " + keeper.file() +
                                     ": " + std::strerror(ENOTDIR) + ".");
}

TEST_F(Recovery, YesAppliesTheChangesAsOneUndoStepNoRemovesThem) {
  // In a file with LF line ends: the file holds the bytes a save would write.
  std::string lf = kScript;
  std::erase(lf, '\r');
  open(dir.write("lf.rc", lf));
  auto crashed = std::make_unique<RecoveryKeeper>(doc, folder);
  change(*crashed, doc.text() + kAdded);
  EXPECT_EQ(recoveredText(*recorded(), lf).text, lf + "NEW ICON \"n.ico\"\n");

  // A crash (the keeper gone without a close), and the editor started again.
  const std::string changed = doc.text();
  crashed.reset();
  open(file);
  RecoveryKeeper keeper(doc, folder);
  ui.buttons = {kIdYes};
  ASSERT_TRUE(offerRecovery(ui, doc, keeper));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].kind, MessageKind::YesNo);
  EXPECT_TRUE(std::regex_match(ui.messages[0].text,
                               std::regex(R"(Ci sono modifiche non salvate di lf\.rc )"
                                          R"(\(\d\d/\d\d/\d{4} \d\d:\d\d\)\. Recuperarle\?)")))
      << ui.messages[0].text;
  EXPECT_EQ(doc.text(), changed);
  EXPECT_EQ(doc.index().size(), 4u);
  EXPECT_TRUE(doc.unsaved());
  EXPECT_EQ(doc.undoLabel(), "Recupero");
  ASSERT_TRUE(doc.undo());
  EXPECT_FALSE(doc.canUndo());
  EXPECT_EQ(doc.diskBytes(), lf);
  // The file taken in is the keeper's: the undo back to the saved text removes it.
  keeper.noteChange();
  EXPECT_TRUE(keeper.afterCommand());
  EXPECT_FALSE(fs::exists(recoveryFile()));

  leave(endedProcess(), changed, lf);
  ui.buttons = {kIdNo};
  EXPECT_FALSE(offerRecovery(ui, doc, keeper));
  EXPECT_EQ(doc.diskBytes(), lf);
  EXPECT_FALSE(fs::exists(recoveryFile()));
}

TEST_F(Recovery, UnreadableOrOutdatedFilesAreIgnoredWithAMessage) {
  const std::string unreadable = "Il file di recupero di s.rc non è leggibile e viene ignorato.";
  RecoveryKeeper keeper(doc, folder);
  leave(endedProcess(), kScript + kAdded);
  const std::string good = TempDir::read(recoveryFile());
  std::string foreign = good;  // another script's
  foreign.replace(foreign.find("s.rc"), 4, "x.rc");
  std::string damaged = good;
  damaged[damaged.rfind("NEW ICON")] = 'M';
  for (const std::string& bytes :
       {std::string("garbage"), good.substr(0, good.size() - 1), std::string(), foreign, damaged}) {
    ASSERT_EQ(writeRecoveryFile(recoveryFile(), bytes), 0);
    ui.messages.clear();
    EXPECT_FALSE(offerRecovery(ui, doc, keeper));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{unreadable});
    EXPECT_FALSE(fs::exists(recoveryFile()));
  }
  fs::create_directories(recoveryFile());  // a folder in its place
  ui.messages.clear();
  EXPECT_FALSE(offerRecovery(ui, doc, keeper));
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{unreadable});
  fs::remove(recoveryFile());

  // The script changed on disk since: the difference is not applied to it.
  leave(endedProcess(), kScript + kAdded);
  open(dir.write("s.rc", kScript + "// changed by another program\r\n"));
  ui.messages.clear();
  EXPECT_FALSE(offerRecovery(ui, doc, keeper));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(std::regex_match(
      ui.messages[0].text,
      std::regex(R"(Le modifiche non salvate di s\.rc \(\d\d/\d\d/\d{4} \d\d:\d\d\) non si )"
                 R"(possono recuperare: il file è stato modificato in seguito\.\n)"
                 R"(Il file di recupero viene ignorato\.)")))
      << ui.messages[0].text;
  EXPECT_FALSE(fs::exists(recoveryFile()));
  EXPECT_FALSE(doc.canUndo());
}

}  // namespace
}  // namespace kolvre
