#include "resources/symbol_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/document_commands.h"
#include "support/crlf.h"
#include "support/refusal.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::crlf;
using testing::refusalOf;
using testing::TempDir;

// A header written with bare LF line ends, as editors on Linux save one, and a comment line.
const std::string kHeader =
    "// ids\n"
    "#define IDD_MAIN 10\n"
    "#define IDC_NAME 100\n"
    "#define IDC_TWIN 100\n"
    "#ifdef BIG\n"
    "#define IDC_SIZE 300\n"
    "#else\n"
    "#define IDC_SIZE 301\n"
    "#endif\n"
    "#define IDC_NEXT (IDC_NAME + 1)\n"
    "#define IDS_TITLE 100\n"
    "#define IDC_SPARE 7\n";

const std::string kScript = crlf(
    "#include \"ids.h\"\n"
    "#define ID_OPEN 200\n"
    "#define IDM_MAIN 10\n"
    "\n"
    "IDD_MAIN DIALOGEX 0, 0, 100, 50\n"
    "BEGIN\n"
    "  LTEXT \"IDC_NAME\", IDC_NAME, 1, 1, 20, 8\n"
    "  EDITTEXT IDC_TWIN, 1, 10, 20, 8\n"
    "  CONTROL \"x\", IDC_NEXT, \"Button\", 0, 1, IDC_SIZE, 10, 10\n"
    "END\n"
    "\n"
    "IDM_MAIN MENU\n"
    "BEGIN\n"
    "  MENUITEM \"&Apri\", ID_OPEN\n"
    "END\n"
    "\n"
    "STRINGTABLE\n"
    "BEGIN\n"
    "  IDS_TITLE \"Titolo\" // IDC_SPARE\n"
    "  ID_OPEN \"Apri\"\n"
    "END\n");

// The list of a script and its one header, read as the document reads them.
struct Listed {
  SyntaxTree tree;
  SymbolList list;
};
Listed listOf(const std::string& script, const std::string& header = kHeader) {
  Listed out{SyntaxTree(script), {}};
  out.list = readSymbolList(script, out.tree, [&](const std::string& path) {
    return path == "ids.h" ? std::optional<std::string>(header) : std::nullopt;
  });
  return out;
}

std::vector<SymbolUseKind> kindsOf(const Symbol& s) {
  std::vector<SymbolUseKind> kinds;
  for (const SymbolReference& use : s.uses) kinds.push_back(use.kind);
  return kinds;
}

TEST(SymbolList, DefinitionsOfTheScriptAndItsHeaderWithTheirPlacesAndUses) {
  const Listed listed = listOf(kScript);
  const SymbolList& list = listed.list;
  ASSERT_EQ(list.files, (std::vector<std::string>{"", "ids.h"}));
  std::vector<std::string> names;
  for (const Symbol& s : list.symbols) names.push_back(s.name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"IDC_NAME", "IDC_NEXT", "IDC_SIZE", "IDC_SPARE", "IDC_TWIN",
                                      "IDD_MAIN", "IDM_MAIN", "IDS_TITLE", "ID_OPEN"}));
  EXPECT_EQ(list.definitionCount(), 10u);

  // A header's line as its own line ends count it; the script's own #define.
  const Symbol* name = list.find("IDC_NAME");
  ASSERT_TRUE(name);
  EXPECT_EQ(name->definitions[0].place.file, 1u);
  EXPECT_EQ(name->definitions[0].place.line, 3u);
  EXPECT_EQ(name->definitions[0].value, "100");
  const SymbolPlace& at = name->definitions[0].place;
  EXPECT_EQ(kHeader.substr(at.begin, at.end - at.begin), "IDC_NAME");
  EXPECT_EQ(list.find("ID_OPEN")->definitions[0].place.file, 0u);
  EXPECT_EQ(list.find("ID_OPEN")->definitions[0].place.line, 2u);

  // The control's ID and the header's #define that uses it; not the text "IDC_NAME".
  EXPECT_EQ(kindsOf(*name),
            (std::vector<SymbolUseKind>{SymbolUseKind::Control, SymbolUseKind::Directive}));
  EXPECT_EQ(name->uses[0].place.line, 7u);
  EXPECT_EQ(name->uses[0].control, 0u);
  EXPECT_EQ(name->uses[1].place.file, 1u);
  EXPECT_EQ(name->uses[1].place.line, 10u);
  // Without a text the ID is the first field; a coordinate is no ID, but in a control.
  EXPECT_EQ(kindsOf(*list.find("IDC_TWIN")), (std::vector<SymbolUseKind>{SymbolUseKind::Control}));
  const Symbol* size = list.find("IDC_SIZE");
  EXPECT_EQ(kindsOf(*size), (std::vector<SymbolUseKind>{SymbolUseKind::Other}));
  EXPECT_EQ(size->uses[0].control, 2u);
  // One name used as a resource's name, as a menu's command and as a string's ID.
  const Symbol* main = list.find("IDD_MAIN");
  EXPECT_EQ(kindsOf(*main), (std::vector<SymbolUseKind>{SymbolUseKind::ResourceName}));
  EXPECT_EQ(main->uses[0].resourceType, "DIALOG");
  EXPECT_EQ(kindsOf(*list.find("ID_OPEN")),
            (std::vector<SymbolUseKind>{SymbolUseKind::MenuItem, SymbolUseKind::String}));
  EXPECT_EQ(kindsOf(*list.find("IDS_TITLE")), (std::vector<SymbolUseKind>{SymbolUseKind::String}));
}

TEST(SymbolList, EveryBranchDefinesAndAnExpressionTakesItsValue) {
  const Listed listed = listOf(kScript);
  const Symbol* size = listed.list.find("IDC_SIZE");
  ASSERT_EQ(size->definitions.size(), 2u);
  EXPECT_EQ(size->definitions[0].number, 300u);
  EXPECT_EQ(size->definitions[1].number, 301u);
  EXPECT_EQ(size->definitions[1].place.line, 8u);
  EXPECT_EQ(size->value, 301u);
  EXPECT_EQ(listed.list.find("IDC_NEXT")->value, 101u);
}

TEST(SymbolList, UnusedAndSameValueOfOneKindMarked) {
  const Listed listed = listOf(kScript);
  const SymbolList& list = listed.list;
  // A comment naming it is no use.
  EXPECT_TRUE(list.find("IDC_SPARE")->unused());
  EXPECT_FALSE(list.find("IDC_NAME")->unused());
  // Two control IDs of one value; a string's ID of that value is of another kind.
  EXPECT_EQ(list.find("IDC_NAME")->sameValue, (std::vector<std::string>{"IDC_TWIN"}));
  EXPECT_EQ(list.find("IDC_TWIN")->sameValue, (std::vector<std::string>{"IDC_NAME"}));
  EXPECT_TRUE(list.find("IDS_TITLE")->sameValue.empty());
  // A dialog and a menu named by one value are resources of two types.
  EXPECT_TRUE(list.find("IDD_MAIN")->sameValue.empty());
  EXPECT_TRUE(list.find("IDM_MAIN")->sameValue.empty());
}

TEST(SymbolList, KindsOfUnusedSymbolsComeFromTheirPrefixes) {
  const std::string script = crlf(
      "#define IDC_ONE 5\n#define IDC_TWO 5\n#define IDS_ONE 5\n#define OTHER 5\n"
      "#define IDD_A 7\n#define IDD_B 7\n"
      "IDD_A DIALOG 0, 0, 1, 1\nBEGIN\nEND\n");
  const Listed listed = listOf(script, "");
  const SymbolList& list = listed.list;
  EXPECT_EQ(list.find("IDC_ONE")->sameValue, (std::vector<std::string>{"IDC_TWO"}));
  EXPECT_TRUE(list.find("IDS_ONE")->sameValue.empty());
  EXPECT_TRUE(list.find("OTHER")->sameValue.empty());
  // A dialog's name and a name whose prefix says dialog.
  EXPECT_EQ(list.find("IDD_B")->sameValue, (std::vector<std::string>{"IDD_A"}));
}

TEST(SymbolList, AScriptWithoutDefinesAndAHeaderThatDoesNotRead) {
  const Listed listed = listOf(crlf("#include \"gone.h\"\n1 ICON \"a.ico\"\n"));
  EXPECT_TRUE(listed.list.symbols.empty());
  EXPECT_EQ(listed.list.files.size(), 1u);
}

// The edit's texts after it: the script's, and the header's.
std::pair<std::string, std::string> renamed(const Listed& listed, const std::string& script,
                                            const std::string& from, const std::string& to) {
  const Edit edit = renameSymbolEdit(script, listed.tree, listed.list, "/p/app.rc", from, to);
  std::string header = kHeader;
  for (const FileEdit& file : edit.files) {
    EXPECT_EQ(file.path, "/p/ids.h");
    EXPECT_EQ(file.before, kHeader);
    header = applySplices(file.before, file.splices);
  }
  return {applySplices(script, edit.splices), header};
}

TEST(SymbolRename, EveryUseAndDefinitionInBothFilesAndNothingElse) {
  const Listed listed = listOf(kScript);
  const auto [script, header] = renamed(listed, kScript, "IDC_NAME", "IDC_USER");
  std::string expectedScript = kScript;
  // The control's ID, not its text.
  expectedScript.replace(expectedScript.find(", IDC_NAME,") + 2, 8, "IDC_USER");
  EXPECT_EQ(script, expectedScript);
  EXPECT_EQ(header,
            "// ids\n#define IDD_MAIN 10\n#define IDC_USER 100\n#define IDC_TWIN 100\n"
            "#ifdef BIG\n#define IDC_SIZE 300\n#else\n#define IDC_SIZE 301\n#endif\n"
            "#define IDC_NEXT (IDC_USER + 1)\n#define IDS_TITLE 100\n#define IDC_SPARE 7\n");
}

TEST(SymbolRename, EveryBranchAResourceNameAndTheScriptsOwnDefine) {
  const Listed listed = listOf(kScript);
  {
    const auto [script, header] = renamed(listed, kScript, "IDC_SIZE", "IDC_WIDTH");
    EXPECT_NE(script.find("0, 1, IDC_WIDTH, 10"), std::string::npos);
    EXPECT_NE(header.find("#define IDC_WIDTH 300\n#else\n#define IDC_WIDTH 301"),
              std::string::npos);
  }
  {
    const auto [script, header] = renamed(listed, kScript, "IDD_MAIN", "IDD_FIRST");
    EXPECT_TRUE(script.find(crlf("\nIDD_FIRST DIALOGEX 0, 0")) != std::string::npos);
    EXPECT_NE(header.find("#define IDD_FIRST 10\n"), std::string::npos);
  }
  {
    // Defined in the script: the header stays as it is.
    const Edit edit =
        renameSymbolEdit(kScript, listed.tree, listed.list, "/p/app.rc", "ID_OPEN", "ID_LOAD");
    EXPECT_TRUE(edit.files.empty());
    std::string expected = kScript;
    for (std::size_t at; (at = expected.find("ID_OPEN")) != std::string::npos;)
      expected.replace(at, 7, "ID_LOAD");
    EXPECT_EQ(applySplices(kScript, edit.splices), expected);
  }
}

TEST(SymbolRename, RefusesWhatWouldNotReadAsTheSameSymbol) {
  const Listed listed = listOf(kScript);
  const auto refusal = [&](const std::string& from, const std::string& to) {
    return refusalOf(
        [&] { renameSymbolEdit(kScript, listed.tree, listed.list, "/p/app.rc", from, to); });
  };
  EXPECT_EQ(refusal("IDC_NONE", "IDC_X"), "Il simbolo IDC_NONE non è definito.");
  EXPECT_EQ(refusal("IDC_NAME", "1ABC"), "Nome di simbolo non valido: 1ABC.");
  EXPECT_EQ(refusal("IDC_NAME", "IDC X"), "Nome di simbolo non valido: IDC X.");
  EXPECT_EQ(refusal("IDC_NAME", ""), "Nome di simbolo non valido: .");
  EXPECT_EQ(refusal("IDC_NAME", "end"), "Il nome end è una parola del linguaggio delle risorse.");
  EXPECT_EQ(refusal("IDC_NAME", "WS_CHILD"),
            "Il nome WS_CHILD è una parola del linguaggio delle risorse.");
  EXPECT_EQ(refusal("IDC_NAME", "IDC_TWIN"), "Il simbolo IDC_TWIN esiste già.");
  // A symbol named as a word of the language: renamed, BEGIN would no longer open its blocks.
  const std::string keywords =
      crlf("#define BEGIN {\n#define WS_CHILD 0x40000000L\n1 DIALOG 0, 0, 10, 10\nBEGIN\nEND\n");
  const Listed defined = listOf(keywords);
  for (const std::string from : {"BEGIN", "WS_CHILD"})
    EXPECT_EQ(
        refusalOf([&] {
          renameSymbolEdit(keywords, defined.tree, defined.list, "/p/app.rc", from, "IDX");
        }),
        "Il simbolo " + from + " è una parola del linguaggio delle risorse e non si rinomina.");
  // A word of a condition, and a word of the script that no #define gives.
  EXPECT_EQ(refusal("IDC_NAME", "BIG"),
            "Il nome BIG è già usato nello script o nei suoi file di intestazione.");
  EXPECT_EQ(refusal("IDC_NAME", "Titolo"), "");  // inside quotes: no word
  const std::string withWord = kScript + crlf("2 MENU\nBEGIN\n  MENUITEM \"a\", IDC_FREE\nEND\n");
  const Listed other = listOf(withWord);
  EXPECT_EQ(refusalOf([&] {
              renameSymbolEdit(withWord, other.tree, other.list, "/p/app.rc", "IDC_NAME",
                               "IDC_FREE");
            }),
            "Il nome IDC_FREE è già usato nello script o nei suoi file di intestazione.");
  // The same name: nothing to do.
  EXPECT_TRUE(
      renameSymbolEdit(kScript, listed.tree, listed.list, "/p/app.rc", "IDC_NAME", "IDC_NAME")
          .splices.empty());
}

TEST(SymbolRename, AHeaderWithCrLfAndBareLineFeedsKeepsItsBytes) {
  const std::string header = "#define A 1\r\n#define IDC_M 2\n\n#define B IDC_M\r\n";
  const std::string script =
      crlf("#include \"ids.h\"\n1 DIALOG 0,0,1,1\nBEGIN\n  EDITTEXT IDC_M,1,1,1,1\nEND\n");
  const Listed listed = listOf(script, header);
  const Symbol* m = listed.list.find("IDC_M");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->definitions[0].place.line, 2u);
  EXPECT_EQ(m->uses.back().place.line, 4u);
  const Edit edit =
      renameSymbolEdit(script, listed.tree, listed.list, "/p/app.rc", "IDC_M", "IDC_MM");
  ASSERT_EQ(edit.files.size(), 1u);
  EXPECT_EQ(applySplices(header, edit.files[0].splices),
            "#define A 1\r\n#define IDC_MM 2\n\n#define B IDC_MM\r\n");
}

// A script and its header in a folder, open in a document.
struct OpenScript {
  TempDir dir;
  std::string script = dir.write("app.rc", kScript);
  std::string header = dir.write("ids.h", kHeader);
  Document doc;
  OpenScript() { loadDocument(doc, script); }
};

TEST(SymbolRenameInDocument, OneStepOverBothFilesUndoneAndRedoneTogether) {
  OpenScript open;
  Document& doc = open.doc;
  ASSERT_TRUE(doc.commit(renameSymbol(doc, "IDC_NAME", "IDC_USER")));
  const std::string header = open.header;
  ASSERT_EQ(doc.headerTexts().count(header), 1u);
  const std::string renamedHeader = doc.headerTexts().at(header);
  EXPECT_NE(renamedHeader.find("#define IDC_USER 100\n"), std::string::npos);
  EXPECT_TRUE(doc.unsaved());
  EXPECT_EQ(doc.unsavedHeaders(), std::vector<std::string>{header});
  // The document reads its own header text: the new name is defined.
  EXPECT_TRUE(documentSymbols(doc).find("IDC_USER"));
  EXPECT_FALSE(documentSymbols(doc).find("IDC_NAME"));
  EXPECT_EQ(doc.undoLabel(), "Rinomina simbolo");

  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.text(), kScript);
  EXPECT_EQ(doc.headerTexts().at(header), kHeader);
  EXPECT_FALSE(doc.unsaved());
  ASSERT_TRUE(doc.redo());
  EXPECT_EQ(doc.headerTexts().at(header), renamedHeader);
  EXPECT_NE(doc.text().find("IDC_USER, 1, 1"), std::string::npos);
  // Nothing reached the disk.
  EXPECT_EQ(TempDir::read(header), kHeader);
  EXPECT_EQ(TempDir::read(open.script), kScript);
}

TEST(SymbolRenameInDocument, ASaveWritesTheHeaderThenTheScript) {
  OpenScript open;
  Document& doc = open.doc;
  ASSERT_TRUE(doc.commit(renameSymbol(doc, "IDC_NAME", "IDC_USER")));
  testing::ScriptedUi ui;
  ASSERT_TRUE(writeDocument(ui, doc));
  EXPECT_EQ(TempDir::read(open.header), doc.headerTexts().at(open.header));
  EXPECT_EQ(TempDir::read(open.script), doc.text());
  EXPECT_FALSE(doc.unsaved());
  // Undone after the save: unsaved again, both files.
  ASSERT_TRUE(doc.undo());
  EXPECT_TRUE(doc.unsaved());
  ASSERT_TRUE(writeDocument(ui, doc));
  EXPECT_EQ(TempDir::read(open.header), kHeader);
  EXPECT_EQ(TempDir::read(open.script), kScript);
}

TEST(SymbolRenameInDocument, AHeaderThatCannotBeWrittenWritesNothing) {
  OpenScript open;
  Document& doc = open.doc;
  ASSERT_TRUE(doc.commit(renameSymbol(doc, "IDC_NAME", "IDC_USER")));
  // Made read-only after the rename: the save refuses both files.
  std::filesystem::permissions(
      open.header, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  testing::ScriptedUi ui;
  EXPECT_FALSE(writeDocument(ui, doc));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Impossibile salvare il file " + open.header +
                                     ".\nAccesso negato. Il file di risorse non è stato salvato.");
  EXPECT_EQ(TempDir::read(open.header), kHeader);
  EXPECT_EQ(TempDir::read(open.script), kScript);
  EXPECT_TRUE(doc.unsaved());
  // Read-only before: the rename itself is refused.
  doc.undo();
  EXPECT_EQ(refusalOf([&] { renameSymbol(doc, "IDC_NAME", "IDC_USER"); }),
            "Impossibile rinominare il simbolo IDC_NAME: il file " + open.header +
                " non si può scrivere.;Accesso negato.");
  // A symbol of the script alone renames still.
  EXPECT_TRUE(doc.commit(renameSymbol(doc, "ID_OPEN", "ID_LOAD")));
}

TEST(SymbolRenameInDocument, AHeaderOnlyChangeIsAStepAndAStaleEditChangesNothing) {
  OpenScript open;
  Document& doc = open.doc;
  // Used nowhere in the script: only the header changes.
  const Edit edit = renameSymbol(doc, "IDC_SPARE", "IDC_EXTRA");
  EXPECT_TRUE(edit.splices.empty());
  ASSERT_TRUE(doc.commit(edit));
  EXPECT_TRUE(doc.canUndo());
  EXPECT_TRUE(doc.unsaved());
  // The same edit again was read over the header before it: refused, nothing recorded.
  EXPECT_FALSE(doc.commit(edit));
  ASSERT_TRUE(doc.undo());
  EXPECT_FALSE(doc.canUndo());
}

TEST(SymbolRenameInDocument, TheCurrentResourceFollowsItsRenamedName) {
  OpenScript open;
  const ResourceKey key("IDD_MAIN", ResourceType::Dialog, 0);
  const Edit edit = renameSymbol(open.doc, "IDD_MAIN", "IDD_FIRST", key);
  ASSERT_TRUE(edit.currentAfter);
  EXPECT_EQ(edit.currentAfter->name, "IDD_FIRST");
  EXPECT_EQ(edit.currentBefore->name, "IDD_MAIN");
}

}  // namespace
}  // namespace kolvre
