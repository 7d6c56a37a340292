#include "document/resource_commands.h"
#include "document/work_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "document/reorder.h"
#include "document/templates.h"
#include "support/current_entry.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::CurrentEntry;
using testing::ScriptedUi;
using testing::TempDir;

const std::string kSep(kBlockSeparator);

class ResourceCommands : public ::testing::Test {
 protected:
  void load(std::string text) {
    doc.load("", std::move(text));
    list.row = 1;
  }
  void select(std::string_view name, std::string_view code) {
    for (std::size_t i = 0; i < doc.index().size(); ++i)
      if (doc.index()[i].name == name && doc.index()[i].code() == code)
        list.row = static_cast<int>(i) + 1;
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& e : doc.index()) out.push_back(e.name + " " + std::string(e.code()));
    return out;
  }
  std::string currentName() const { return doc.index()[list.row - 1].name; }

  ScriptedUi ui;
  Document doc;
  CurrentEntry list{doc};
};

using V = std::vector<std::string>;

TEST_F(ResourceCommands, RenameChangesOnlyTheHeaderName) {
  load("MYDLG DIALOGEX 0, 0, 10, 10\r\nCAPTION \"MYDLG DIALOG\"\r\n{\r\n}" + kSep +
       "B ICON\r\n{\r\n}");
  select("MYDLG", "D");
  ui.inputs = {"zed"};
  EXPECT_TRUE(renameResource(ui, doc, list.position()));
  EXPECT_EQ(doc.text(), "ZED DIALOGEX 0, 0, 10, 10\r\nCAPTION \"MYDLG DIALOG\"\r\n{\r\n}" + kSep +
                            "B ICON\r\n{\r\n}");
  EXPECT_EQ(currentName(), "ZED");
  // The name as it stands, not padded; 15 characters is the field's limit.
  EXPECT_EQ(ui.prompts[0], "MYDLG");
  EXPECT_EQ(ui.promptLimits[0], 15u);
}

TEST_F(ResourceCommands, RenameRefusesBlanksAndAnotherResourcesNameUntilAccepted) {
  load("MYDLG DIALOG\r\n{\r\n}" + kSep + "OTHER DIALOG\r\n{\r\n}" + kSep + "NEW ICON\r\n{\r\n}");
  select("MYDLG", "D");
  ui.inputs = {"a b", "other", "new"};
  EXPECT_TRUE(renameResource(ui, doc, list.position()));
  EXPECT_EQ(ui.messageTexts(), (V{"Spazi non ammessi.", "Nome risorsa già presente."}));
  EXPECT_EQ(ui.prompts[1], "A B");  // the refused answer, as it now stands
  EXPECT_EQ(ui.prompts[2], "OTHER");
  EXPECT_EQ(names(), (V{"NEW D", "NEW I", "OTHER D"}));
}

// The only resource of that name and type is the renamed one itself: in other letters the
// rename goes through and changes their case; as it stands it changes nothing.
TEST_F(ResourceCommands, ARenameToItsOwnNameInOtherLettersChangesTheCase) {
  load("zz DIALOG\r\n{\r\n}" + kSep + "yy DIALOG\r\n{\r\n}" + kSep + "A DIALOG\r\n{\r\n 1\r\n}" +
       kSep + "a DIALOG\r\n{\r\n 2\r\n}");
  select("zz", "D");
  ui.inputs = {"zz"};  // confirmed as shown: the prompt takes names in capitals
  EXPECT_TRUE(renameResource(ui, doc, list.position()));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(currentName(), "ZZ");
  EXPECT_EQ(doc.undoLabel(), "Rinomina");
  // As it stands now: no step, no message.
  ui.inputs = {"ZZ"};
  EXPECT_FALSE(renameResource(ui, doc, list.position()));
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_TRUE(doc.undo());
  EXPECT_FALSE(doc.undo());
  // Another resource's name, in any letters, is still refused; so is a namesake's.
  select("zz", "D");
  ui.inputs = {"YY", std::nullopt};
  EXPECT_FALSE(renameResource(ui, doc, list.position()));
  select("a", "D");  // the second of the two named A
  ui.inputs = {"A", std::nullopt};
  EXPECT_FALSE(renameResource(ui, doc, list.position()));
  EXPECT_EQ(ui.messageTexts(), (V{"Nome risorsa già presente.", "Nome risorsa già presente."}));
}

TEST_F(ResourceCommands, ALongNameIsShownWholeAndRefusedNotCut) {
  load("abcdefghijklmnopqrst BITMAP\r\n{\r\n}");
  ui.inputs = {"abcdefghijklmnopqrst", "short"};  // confirmed unchanged, then a short one
  EXPECT_TRUE(renameResource(ui, doc, list.position()));
  EXPECT_EQ(ui.prompts[0], "abcdefghijklmnopqrst");
  EXPECT_EQ(ui.prompts[1], "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(ui.promptLimits, (std::vector<std::size_t>{20, 20}));
  EXPECT_EQ(ui.messageTexts(), (V{"Nome troppo lungo: al massimo 15 caratteri."}));
  EXPECT_EQ(names(), (V{"SHORT B"}));
}

TEST_F(ResourceCommands, NamesAreShownAndTakenInTheScriptsEncoding) {
  load("PERCH\xC9 ICON\r\n{\r\n}");  // Windows-1252: É is one byte
  ui.inputs = {"CAFÉ"};
  EXPECT_TRUE(renameResource(ui, doc, list.position()));
  EXPECT_EQ(ui.prompts[0], "PERCHÉ");
  EXPECT_EQ(doc.text(), "CAF\xC9 ICON\r\n{\r\n}");
}

TEST_F(ResourceCommands, ACharacterTheCodePageLacksIsRefusedNotTurnedIntoAQuestionMark) {
  load("A ICON\r\n{\r\n}");
  ui.inputs = {"中", "\x7F", "B"};
  EXPECT_TRUE(renameResource(ui, doc, list.position()));
  EXPECT_EQ(ui.messageTexts(),
            (V{"Carattere non ammesso nel nome.", "Carattere non ammesso nel nome."}));
  EXPECT_EQ(doc.text(), "B ICON\r\n{\r\n}");
}

TEST_F(ResourceCommands, TheClipboardHoldsUnicodeTextAndPasteGivesBackTheScriptsBytes) {
  load("CIAO DIALOG 0, 0, 1, 1\r\nCAPTION \"perch\xE9 \x80\"\r\n{\r\n}");
  copyResource(ui, doc, list.position());
  EXPECT_EQ(ui.clipboard, "CIAO DIALOG 0, 0, 1, 1\r\nCAPTION \"perché €\"\r\n{\r\n}");
  ui.inputs = {"COPIA"};
  EXPECT_TRUE(pasteResource(ui, doc, list.position()));
  EXPECT_NE(doc.text().find("COPIA DIALOG 0, 0, 1, 1\r\nCAPTION \"perch\xE9 \x80\""),
            std::string::npos);
}

TEST_F(ResourceCommands, CancelChangesNothingAndAnEmptyAnswerIsAskedAgain) {
  load("A DIALOG\r\n{\r\n}");
  const std::string before = doc.text();
  ui.inputs = {std::nullopt};
  EXPECT_FALSE(renameResource(ui, doc, list.position()));
  EXPECT_TRUE(ui.messages.empty());
  // An empty answer is told and the prompt comes back, until a cancel or a name.
  ui.inputs = {"   ", std::nullopt};
  EXPECT_FALSE(renameResource(ui, doc, list.position()));
  EXPECT_EQ(ui.messageTexts(), (V{"Nome risorsa mancante."}));
  EXPECT_EQ(doc.text(), before);
  ui.inputs = {"", "B"};
  EXPECT_TRUE(renameResource(ui, doc, list.position()));
  EXPECT_EQ(ui.prompts.size(), 5u);
  EXPECT_EQ(doc.text(), "B DIALOG\r\n{\r\n}");
}

TEST_F(ResourceCommands, DeleteLandsOnTheRightNeighbour) {
  const std::string three =
      "A ICON\r\n{\r\n}" + kSep + "B ICON\r\n{\r\n}" + kSep + "C ICON\r\n{\r\n}";
  struct Row {
    const char* name;
    V left;
    std::string current;
  };
  const Row rows[] = {
      {"A", {"B I", "C I"}, "B"}, {"B", {"A I", "C I"}, "C"}, {"C", {"A I", "B I"}, "B"}};
  for (const Row& r : rows) {
    load(three);
    select(r.name, "I");
    ui.buttons = {kIdOk};
    EXPECT_TRUE(deleteResource(ui, doc, list.position()));
    EXPECT_EQ(names(), r.left) << r.name;
    EXPECT_EQ(currentName(), r.current) << r.name;
    EXPECT_EQ(ui.messages.back().text,
              std::string("Confermi l'eliminazione della risorsa ") + r.name + "?");
  }
  // The last one went with the separator above it.
  EXPECT_EQ(doc.text(), "A ICON\r\n{\r\n}" + kSep + "B ICON\r\n{\r\n}");
}

TEST_F(ResourceCommands, DeleteTheOnlyResourceEmptiesTheList) {
  load("A ICON\r\n{\r\n}");
  ui.buttons = {kIdOk};
  EXPECT_TRUE(deleteResource(ui, doc, list.position()));
  EXPECT_TRUE(doc.index().empty());
  EXPECT_FALSE(list.last->current);
  EXPECT_FALSE(deleteResource(ui, doc, list.position()));  // nothing left: nothing asked
}

TEST_F(ResourceCommands, DeleteCancelledOrInAScriptNeverReorderedKeepsTheNext) {
  load("A ICON\r\n{\r\n}\r\nB ICON\r\n{\r\n}");
  ui.buttons = {kIdCancel, kIdOk};
  EXPECT_FALSE(deleteResource(ui, doc, list.position()));
  EXPECT_TRUE(deleteResource(ui, doc, list.position()));
  EXPECT_EQ(doc.text(), "B ICON\r\n{\r\n}");
}

TEST_F(ResourceCommands, HeadersAlignedInColumnsAreHandledLikeAnyOther) {
  load("IDI_A    ICON\r\n{\r\n 1\r\n}" + kSep + "B\tICON\r\n{\r\n}");
  select("IDI_A", "I");
  copyResource(ui, doc, list.position());
  EXPECT_EQ(ui.clipboard, "IDI_A    ICON\r\n{\r\n 1\r\n}");
  // A rename replaces the name only: the blanks that align the keyword stay (and the block,
  // in a stretch not sorted, stays where it stood).
  ui.inputs = {"z"};
  EXPECT_TRUE(renameResource(ui, doc, list.position()));
  EXPECT_EQ(doc.text(), "Z    ICON\r\n{\r\n 1\r\n}" + kSep + "B\tICON\r\n{\r\n}");
  select("B", "I");
  ui.buttons = {kIdOk};
  EXPECT_TRUE(deleteResource(ui, doc, list.position()));
  EXPECT_EQ(doc.text(), "Z    ICON\r\n{\r\n 1\r\n}");
  for (const auto& message : ui.messages) {
    EXPECT_NE(message.text, unlocatableMessage("IDI_A"));
    EXPECT_NE(message.text, unlocatableMessage("B"));
  }
}

TEST_F(ResourceCommands, DuplicatesAreHandledAsTheSelectedOne) {
  load("X ICON\r\n{\r\n 1\r\n}" + kSep + "X ICON\r\n{\r\n 2\r\n}");
  list.row = 2;
  ui.buttons = {kIdOk};
  EXPECT_TRUE(deleteResource(ui, doc, list.position()));
  EXPECT_EQ(doc.text(), "X ICON\r\n{\r\n 1\r\n}");
}

TEST_F(ResourceCommands, AResourceWhoseBodyNeverClosesIsNotDeleted) {
  // The dialog's end is a guess (the next resource): deleting it could take text the user
  // wants; the next resource stays whole either way.
  const std::string script =
      "A DIALOG 0, 0, 1, 1\r\n{\r\n LTEXT \"x\", 1, 2, 3, 4, 5\r\n"
      "B ICON \"b.ico\"\r\n";
  load(script);
  select("A", "D");
  ui.buttons = {kIdOk};
  EXPECT_FALSE(deleteResource(ui, doc, list.position()));
  EXPECT_EQ(ui.messageTexts(),
            (V{"Il testo della risorsa A non si chiude: correggilo con \"Modifica "
               "come testo\" prima di eliminarla."}));
  EXPECT_EQ(doc.text(), script);
  EXPECT_EQ(names(), (V{"A D", "B I"}));
}

// What the commands refuse, and why, word for word.
TEST_F(ResourceCommands, RefusalsSayWhy) {
  load("STRINGTABLE\r\n{\r\n 1 \"a\"\r\n}");
  EXPECT_FALSE(renameResource(ui, doc, list.position()));
  ui.clipboard = "CIAO";
  EXPECT_FALSE(pasteResource(ui, doc, list.position()));
  EXPECT_EQ(ui.messageTexts(),
            (V{"Una tabella di stringhe non ha un nome da cambiare: la elencano i suoi ID.",
               "Gli appunti non contengono una risorsa da incollare."}));

  // Without R, the dialog left open above it would read the line after R as its own.
  load("A DIALOG\r\nR ICON{}\r\nN I N\r\nY DIALOG\r\n{\r\n}\r\n");
  select("R", "I");
  ui.messages.clear();
  ui.buttons = {kIdOk};
  EXPECT_FALSE(deleteResource(ui, doc, list.position()));
  EXPECT_EQ(ui.messageTexts(),
            (V{"Confermi l'eliminazione della risorsa R?",
               "Eliminando la risorsa R il testo che la circonda verrebbe letto in un altro modo: "
               "prima di essa una risorsa, un commento o una stringa non si chiude. Correggilo con "
               "\"Modifica come testo\"."}));

  // After a comment left open at the end, nothing goes in without being read into it.
  load("A ICON \"a\" /* aperto");
  ui.messages.clear();
  ui.inputs = {"B"};
  EXPECT_FALSE(newResource(ui, doc, ResourceType::Icon, list.position()));
  ui.clipboard = "STRINGTABLE\r\n{\r\n 1 \"a\"\r\n}";
  EXPECT_FALSE(pasteResource(ui, doc, list.position()));
  EXPECT_EQ(
      ui.messageTexts(),
      (V{"Non c'è un punto dove inserire la risorsa B senza cambiare il modo in cui si legge "
         "il testo intorno: una risorsa, un commento o una stringa non si chiude. Correggilo "
         "con \"Modifica come testo\".",
         "Non c'è un punto dove inserire la risorsa STRINGTABLE senza cambiare il modo in cui "
         "si legge il testo intorno: una risorsa, un commento o una stringa non si chiude. "
         "Correggilo con \"Modifica come testo\"."}));
  EXPECT_EQ(doc.text(), "A ICON \"a\" /* aperto");

  // A string table whose body is missing or left open is no resource to paste: it would take in
  // whatever follows it. Nor is one after text that is none.
  load("A ICON \"a\"\r\n");
  for (const char* half : {"STRINGTABLE", "STRINGTABLE\r\n{\r\n 1 \"a\"\r\n",
                           "- , 0\r\nSTRINGTABLE\r\n{\r\n 1 \"a\"\r\n}"}) {
    ui.messages.clear();
    ui.clipboard = half;
    EXPECT_FALSE(pasteResource(ui, doc, list.position())) << half;
    EXPECT_EQ(ui.messageTexts(), V{std::string(kNothingToPasteMessage)});
    EXPECT_EQ(doc.text(), "A ICON \"a\"\r\n");
  }

  // No script the index reads leaves a listed block unfound; the message stands ready.
  EXPECT_EQ(unlocatableMessage("IDI_A"), "Impossibile individuare il testo della risorsa IDI_A.");
}

TEST_F(ResourceCommands, ReorderAllIsOneStepAndKeepsTheCurrentEntry) {
  // Icons sorted into the icons' places; the dialog and the comment above the section stay.
  const std::string script =
      "// icone\r\n\r\nB ICON \"b.ico\"\r\nD DIALOG 0, 0, 1, 1\r\n{\r\n}\r\n"
      "A ICON \"a.ico\"\r\n";
  load(script);
  select("B", "I");
  EXPECT_TRUE(reorderResources(doc, list.position()));
  EXPECT_EQ(doc.text(),
            "// icone\r\n\r\nA ICON \"a.ico\"\r\nD DIALOG 0, 0, 1, 1\r\n{\r\n}\r\n"
            "B ICON \"b.ico\"\r\n");
  EXPECT_EQ(currentName(), "B");
  EXPECT_EQ(doc.undoLabel(), "Riordina le risorse");
  EXPECT_FALSE(reorderResources(doc, list.position()));  // already in order: no step
  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.text(), script);
}

TEST_F(ResourceCommands, CopyThenPasteUnderANewName) {
  load("DLG DIALOG 0, 0, 1, 1\r\n{\r\n CONTROL \"x\", 1\r\n}" + kSep + "Z ICON\r\n{\r\n}");
  select("DLG", "D");
  copyResource(ui, doc, list.position());
  EXPECT_EQ(ui.clipboard, "DLG DIALOG 0, 0, 1, 1\r\n{\r\n CONTROL \"x\", 1\r\n}");
  ui.inputs = {"DLG", "CPY"};  // the same name of the same type is refused first
  EXPECT_TRUE(pasteResource(ui, doc, list.position()));
  EXPECT_EQ(ui.messageTexts(), (V{"Nome risorsa già presente."}));
  EXPECT_EQ(doc.text(), "CPY DIALOG 0, 0, 1, 1\r\n{\r\n CONTROL \"x\", 1\r\n}" + kSep +
                            "DLG DIALOG 0, 0, 1, 1\r\n{\r\n CONTROL \"x\", 1\r\n}" + kSep +
                            "Z ICON\r\n{\r\n}");
  EXPECT_EQ(currentName(), "CPY");
}

TEST_F(ResourceCommands, PasteOfAHeaderWithNothingAfterTheKeyword) {
  load("");
  ui.clipboard = "PIC BITMAP\r\n{\r\n '42 4D'\r\n}";
  ui.inputs = {"PIC2"};
  EXPECT_TRUE(pasteResource(ui, doc, list.position()));
  EXPECT_EQ(doc.text(), "PIC2 BITMAP\r\n{\r\n '42 4D'\r\n}");
  EXPECT_EQ(names(), (V{"PIC2 B"}));
}

TEST_F(ResourceCommands, PasteOfLfTextGetsCrLfAndEmptyClipboardIsRefused) {
  load("");
  ui.clipboard = "P ICON\n{\n}\n";
  ui.inputs = {"P"};
  EXPECT_TRUE(pasteResource(ui, doc, list.position()));
  EXPECT_EQ(doc.text(), "P ICON\r\n{\r\n}");
  ui.clipboard = "";
  EXPECT_FALSE(pasteResource(ui, doc, list.position()));
  EXPECT_EQ(doc.text(), "P ICON\r\n{\r\n}");
}

TEST_F(ResourceCommands, NamesWithALineBreakAreRefusedLikeBlanks) {
  // Text copied from the end of the line before starts with a line break, which the pasted name
  // keeps (only blanks end it); taken as shown it would add a second DLG dialog.
  load("DLG DIALOG 0, 0, 1, 1\r\n{\r\n}");
  ui.clipboard = "\r\nDLG DIALOG 0, 0, 1, 1\r\n{\r\n}";
  ui.inputs = {"\r\nDLG", "dlg\n", "CPY"};
  EXPECT_TRUE(pasteResource(ui, doc, list.position()));
  EXPECT_EQ(ui.messageTexts(), (V{"Spazi non ammessi.", "Spazi non ammessi."}));
  EXPECT_EQ(names(), (V{"CPY D", "DLG D"}));
}

TEST_F(ResourceCommands, AddingKeepsTheStartOfTheScriptsFirstLine) {
  // An indented line is no header; cutting its blanks would make it a resource. A lone line
  // feed belongs to the line it starts, and so to the name of the header there.
  const std::pair<std::string, V> rows[] = {
      {" X ICON\r\n{\r\n}", {"P I", "Q 24", "X I"}},
      {"\r\n\r\n\tX ICON\r\n{\r\n}", {"P I", "Q 24", "X I"}},
      {"\nX ICON\r\n{\r\n}", {"P I", "Q 24", "X I"}},
  };
  for (const auto& [script, after] : rows) {
    load(script);
    ui.clipboard = "P ICON\r\n{\r\n}";
    ui.inputs = {"P", "Q", ""};  // the manifest's data in its block
    EXPECT_TRUE(pasteResource(ui, doc, list.position()));
    EXPECT_TRUE(newResource(ui, doc, ResourceType::Manifest));
    EXPECT_EQ(names(), after) << script;
  }
  // The new blocks go in before the icon, sorted; its first line keeps its lone line feed.
  EXPECT_EQ(doc.text(), resourceTemplate(ResourceType::Manifest, "Q") + kSep + "P ICON\r\n{\r\n}" +
                            kSep + "\nX ICON\r\n{\r\n}");
}

TEST_F(ResourceCommands, NewResourcesAreSortedInAndDuplicatesRefusedPerKind) {
  load("LOGO BITMAP\r\n{\r\n}\r\n// note");
  ui.inputs = {"logo", "LOGO", "X"};
  EXPECT_TRUE(newResource(ui, doc, ResourceType::Dialog));
  EXPECT_FALSE(ui.messages.size());
  EXPECT_TRUE(newResource(ui, doc, ResourceType::Dialog));
  EXPECT_EQ(ui.messageTexts(), (V{"Nome risorsa già presente."}));
  EXPECT_EQ(names(), (V{"LOGO B", "LOGO D", "X D"}));
  EXPECT_EQ(currentName(), "X");
  // Each goes in after the last block that sorts before it, set apart as that block is; the
  // comment at the end stays there.
  EXPECT_EQ(doc.text(), "LOGO BITMAP\r\n{\r\n}\r\n" +
                            resourceTemplate(ResourceType::Dialog, "LOGO") + "\r\n" +
                            resourceTemplate(ResourceType::Dialog, "X") + "\r\n// note");
}

TEST_F(ResourceCommands, ASecondVersionResourceOfTheSameNameIsRefused) {
  load("VER VERSIONINFO\r\n{\r\n}");
  ui.inputs = {"VER", std::nullopt};
  EXPECT_FALSE(newResource(ui, doc, ResourceType::VersionInfo));
  EXPECT_EQ(ui.messageTexts(), (V{"Nome risorsa già presente."}));
}

TEST_F(ResourceCommands, NewPromptTitleNamesTheKindInLowerCase) {
  load("");
  ui.inputs = {std::nullopt};
  EXPECT_FALSE(newResource(ui, doc, ResourceType::VersionInfo));
  // An empty field that takes up to 15 characters, not one filled with blanks.
  EXPECT_EQ(ui.prompts[0], "");
  EXPECT_EQ(ui.promptLimits[0], 15u);
  ui.inputs = {"1", ""};
  EXPECT_TRUE(newResource(ui, doc, ResourceType::Manifest));
  EXPECT_EQ(doc.text(), "1 24\r\n{\r\n}");
}

// A kind that may name a file asks for it after the name; HTML must name one, and a quote in
// it is refused: the box comes back until a file is given or the user cancels.
TEST_F(ResourceCommands, NewDataAsksForTheFileItNames) {
  load("");
  ui.inputs = {"H", "", "a\"b", " page.htm "};
  EXPECT_TRUE(newResource(ui, doc, ResourceType::Html));
  EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"Indicare il file della risorsa.",
                                                         "Nome di file non valido: a\"b."}));
  EXPECT_EQ(doc.text(), "H HTML \"page.htm\"");
  ui.inputs = {"R", std::nullopt};
  EXPECT_FALSE(newResource(ui, doc, ResourceType::RcData));
  EXPECT_EQ(doc.text(), "H HTML \"page.htm\"");
}

class EditAsText : public ResourceCommands {
 protected:
  void SetUp() override {
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    load("A ICON\r\n{\r\n}" + kSep + "B ICON\r\n{\r\n}");
    select("B", "I");
  }
  void TearDown() override { std::filesystem::current_path(previous); }
  // The editor stand-in: replaces the work file's content.
  void editorWrites(std::string content) {
    ui.settings[ScriptedUi::settingKey("Edit", "TXT")] = "/usr/bin/my editor";
    ui.exitCodes = {0};
    ui.onRun = [content](const testing::RunCall& call) {
      seen = TempDir::read(call.args.at(0));
      std::ofstream(call.args[0], std::ios::binary | std::ios::trunc) << content;
    };
  }
  std::filesystem::path previous;
  TempDir dir;
  static inline std::string seen;
};

TEST_F(EditAsText, UnchangedTextLeavesTheScriptUntouched) {
  load("B ICON\r\n{\r\n}" + kSep + "A ICON\r\n{\r\n}");  // not in order: stays so
  select("B", "I");
  const std::string before = doc.text();
  editorWrites("B ICON\r\n{\r\n}");
  EXPECT_FALSE(editResourceAsText(ui, doc, list.position()));
  EXPECT_EQ(doc.text(), before);
  EXPECT_EQ(seen, "B ICON\r\n{\r\n}");
  EXPECT_EQ(ui.runs[0].program, "/usr/bin/my editor");  // one program name, blanks and all
  // The work file stands in the editor's private work folder, never in the current folder.
  const std::filesystem::path work = ui.runs[0].args[0];
  EXPECT_EQ(work.parent_path(), std::filesystem::path(workFolder().path()));
  EXPECT_EQ(work.extension(), ".rc");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_FALSE(std::filesystem::exists(work));  // the work file is gone
}

TEST_F(EditAsText, ChangedTextReplacesReordersAndFollowsANewName) {
  editorWrites("0 ICON\r\n{\r\n 'x'\r\n}\x1A");
  EXPECT_TRUE(editResourceAsText(ui, doc, list.position()));
  EXPECT_EQ(doc.text(), "0 ICON\r\n{\r\n 'x'\r\n}" + kSep + "A ICON\r\n{\r\n}");
  EXPECT_EQ(currentName(), "0");
}

TEST_F(EditAsText, AnEmptiedFileRemovesTheResource) {
  editorWrites("");
  EXPECT_TRUE(editResourceAsText(ui, doc, list.position()));
  EXPECT_EQ(names(), (V{"A I"}));
}

TEST_F(EditAsText, NoEditorOrOneThatCannotStartSaysWhatToSet) {
  const std::string before = doc.text();
  EXPECT_FALSE(editResourceAsText(ui, doc, list.position()));
  EXPECT_NE(ui.messages.back().text.find("TXT"), std::string::npos);
  ui.settings[ScriptedUi::settingKey("Edit", "TXT")] = "/no/such/editor";
  EXPECT_FALSE(editResourceAsText(ui, doc, list.position()));  // runAndWait gives -1
  EXPECT_NE(ui.messages.back().text.find("/no/such/editor"), std::string::npos);
  EXPECT_EQ(doc.text(), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
}

TEST_F(EditAsText, LfScriptsAreEditedInTheirOwnForm) {
  load("A ICON\n{\n}\n");
  editorWrites("A ICON\n{\n 'y'\n}");
  EXPECT_TRUE(editResourceAsText(ui, doc, list.position()));
  EXPECT_EQ(seen, "A ICON\n{\n}");
  EXPECT_EQ(doc.text(), "A ICON\r\n{\r\n 'y'\r\n}\r\n");
}

TEST_F(EditAsText, AUtf16ScriptHandsTheEditorUtf16AndTakesItBack) {
  const auto utf16 = [](std::string_view ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
  };
  load(utf16("A ICON\r\n{\r\n}\r\nB ICON\r\n{\r\n}"));
  select("B", "I");
  editorWrites(utf16("B ICON\r\n{\r\n 'y'\r\n}"));
  EXPECT_TRUE(editResourceAsText(ui, doc, list.position()));
  EXPECT_EQ(seen, utf16("B ICON\r\n{\r\n}"));
  EXPECT_EQ(doc.text(), "A ICON\r\n{\r\n}\r\nB ICON\r\n{\r\n 'y'\r\n}");
  EXPECT_TRUE(doc.diskBytes().starts_with(utf16("A ICON")));
  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.diskBytes(), utf16("A ICON\r\n{\r\n}\r\nB ICON\r\n{\r\n}"));
}

}  // namespace
}  // namespace kolvre
