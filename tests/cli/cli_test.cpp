
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "base/version.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::TempDir;

using testing::cli;
using testing::CliRun;

TEST(CliList, PrintsNameTabCodeInIndexOrder) {
  TempDir dir;
  const auto f = dir.write("a.rc", "b DIALOG\nA ICON\n#define X 1\n");
  const CliRun r = cli({"list", f});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "A\tI\nb\tD\n");
}

TEST(CliList, EveryKindWithItsLanguageAndTheSixOnRequest) {
  TempDir dir;
  const auto f =
      dir.write("a.rc",
                "LANGUAGE LANG_GERMAN, SUBLANG_DEFAULT\nM MENU\n{\n}\n"
                "STRINGTABLE\n{\n 1 \"a\"\n 9 \"b\"\n}\nP PNG \"p.png\"\nI ICON \"i.ico\"\n");
  EXPECT_EQ(cli({"list", f}).out, "1..9\tS\tde\nI\tI\tde\nM\tM\tde\nP\tPNG\tde\n");
  EXPECT_EQ(cli({"list", f, "--six"}).out, "I\tI\n");
  // Every command takes every kind: an Other type by its word, a string table by its IDs.
  EXPECT_EQ(cli({"show", f, "P", "PNG"}).out, "P PNG \"p.png\"");
  EXPECT_EQ(cli({"show", f, "1..9", "S"}).out, "STRINGTABLE\n{\n 1 \"a\"\n 9 \"b\"\n}");
  const CliRun unnamed = cli({"rename", f, "1..9", "S", "X"});
  EXPECT_EQ(unnamed.code, 1);
  EXPECT_EQ(cli({"rename", f, "P", "PNG", "Q"}).code, 0);
  EXPECT_EQ(cli({"delete", f, "M", "MENU"}).code, 0);
  EXPECT_EQ(cli({"list", f}).out, "1..9\tS\tde\nI\tI\tde\nQ\tPNG\tde\n");
  EXPECT_EQ(cli({"new", f, "TOOLBAR", "N"}).code, 2);  // a kind without a template
}

// New resources of the other kinds, each written as the resources around its place are: here
// BEGIN and END and a tab a level.
TEST(CliNew, EveryKindFromItsTemplateInTheScriptsStyle) {
  TempDir dir;
  const std::string script =
      "LANGUAGE 9, 1\nA MENU\nBEGIN\n\tMENUITEM \"a\", 1\nEND\nSTRINGTABLE\nBEGIN\n\t1, "
      "\"x\"\nEND\n";
  const auto f = dir.write("a.rc", script);
  for (const std::vector<std::string>& args : {std::vector<std::string>{"MENU", "B"},
                                               {"MENUEX", "C"},
                                               {"ACCELERATORS", "K"},
                                               {"STRINGTABLE", "200"},
                                               {"RCDATA", "R"},
                                               {"RCDATA", "F", "--file", "d\\x.bin"},
                                               {"HTML", "H", "--file", "h.htm"},
                                               {"24", "M", "--file", "app.manifest"}}) {
    std::vector<std::string> call = {"new", f};
    call.insert(call.end(), args.begin(), args.end());
    const CliRun made = cli(call);
    EXPECT_EQ(made.code, 0) << args[0] << ": " << made.err;
  }
  EXPECT_EQ(cli({"show", f, "B", "MENU"}).out, "B MENU\nBEGIN\nEND");
  EXPECT_EQ(cli({"show", f, "200", "S"}).out, "STRINGTABLE\nBEGIN\n\t200, \"\"\nEND");
  EXPECT_EQ(cli({"show", f, "F", "RCDATA"}).out, "F RCDATA \"d\\\\x.bin\"");
  EXPECT_EQ(cli({"show", f, "H", "HTML"}).out, "H HTML \"h.htm\"");
  EXPECT_EQ(cli({"list", f}).out,
            "1\tS\ten-US\n200\tS\ten-US\nA\tM\ten-US\nB\tM\ten-US\nC\tMENUEX\ten-US\n"
            "F\tRCDATA\ten-US\nH\tHTML\ten-US\nK\tA\ten-US\nM\t24\ten-US\nR\tRCDATA\ten-US\n");
  // What cannot be made: an ID a table of the language holds, an ID that does not read, an
  // HTML page without its file, a file named for a kind that names none, a quote in a file.
  const std::string made = TempDir::read(f);
  const CliRun taken = cli({"new", f, "STRINGTABLE", "1"});
  EXPECT_EQ(taken.code, 1);
  EXPECT_EQ(taken.err,
            "L'ID 1 è già in una tabella delle stringhe della stessa lingua (riga 8).\n");
  EXPECT_EQ(cli({"new", f, "STRINGTABLE", "BEGIN"}).err, "ID non valido: BEGIN.\n");
  EXPECT_EQ(cli({"new", f, "HTML", "H2"}).err, "Indicare il file della risorsa.\n");
  EXPECT_EQ(cli({"new", f, "MENU", "M2", "--file", "m.bin"}).code, 2);
  EXPECT_EQ(cli({"new", f, "RCDATA", "R2", "--file", "a\"b"}).err,
            "Nome di file non valido: a\"b.\n");
  EXPECT_EQ(TempDir::read(f), made);
}

TEST(CliList, MissingFileAndUsage) {
  const CliRun missing = cli({"list", "/no/such.rc"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "Impossibile trovare il file /no/such.rc.\n");
  EXPECT_EQ(cli({}).code, 2);
  EXPECT_EQ(cli({"list"}).code, 2);
  EXPECT_EQ(cli({"frobnicate", "x"}).code, 2);
  EXPECT_NE(cli({"list"}).err.find("uso:"), std::string::npos);
}

// --help, -h and --version answer on standard output with exit code 0; the usage names them.
TEST(CliUsage, HelpAndVersionGoToStandardOutput) {
  for (const char* asked : {"--help", "-h"}) {
    const CliRun help = cli({asked});
    EXPECT_EQ(help.code, 0) << asked;
    EXPECT_TRUE(help.out.starts_with("uso: kolvre-cli COMANDO FILE [ARGOMENTI]\n")) << asked;
    EXPECT_NE(help.out.find("--version"), std::string::npos) << asked;
    EXPECT_EQ(help.err, "") << asked;
  }
  const CliRun version = cli({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, std::string("kolvre-cli (KOLVRE) ") + kProgramVersion + "\n");
  EXPECT_EQ(version.err, "");
  // The version of project() in the top CMakeLists.txt, as the GUI's `kolvre --version` prints.
  EXPECT_TRUE(std::string_view(kProgramVersion).find_first_not_of("0123456789.") ==
              std::string_view::npos)
      << kProgramVersion;
  EXPECT_FALSE(std::string_view(kProgramVersion).empty());
}

TEST(CliReorder, WritesBackInPlaceOrToAnotherFile) {
  TempDir dir;
  const auto f = dir.write("a.rc", "B ICON\n{\n}\nA ICON\n{\n}\n");
  EXPECT_EQ(cli({"reorder", f, "-o", dir.file("out.rc")}).code, 0);
  // Only the blocks change places: line ends and the final one stay.
  EXPECT_EQ(TempDir::read(dir.file("out.rc")), "A ICON\n{\n}\nB ICON\n{\n}\n");
  EXPECT_EQ(TempDir::read(f), "B ICON\n{\n}\nA ICON\n{\n}\n");
  EXPECT_EQ(cli({"reorder", f}).code, 0);
  EXPECT_EQ(TempDir::read(f), "A ICON\n{\n}\nB ICON\n{\n}\n");
}

TEST(CliReorder, FailedWriteIsReported) {
  TempDir dir;
  const auto f = dir.write("a.rc", "A ICON\r\n{\r\n}");
  const CliRun r = cli({"reorder", f, "-o", dir.file("no/out.rc")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Impossibile salvare il file " + dir.file("no/out.rc") +
                       ".\nLa cartella non esiste.\n");
}

TEST(CliShow, WritesTheBlockExactly) {
  TempDir dir;
  const auto f = dir.write("a.rc", "X DIALOGEX 0\r\n{\r\n}\r\n\r\nY ICON\r\n{\r\n}\x1A");
  EXPECT_EQ(cli({"show", f, "X", "D"}).out, "X DIALOGEX 0\r\n{\r\n}");
  EXPECT_EQ(cli({"show", f, "Y", "ICON"}).out, "Y ICON\r\n{\r\n}");
  const CliRun missing = cli({"show", f, "Y", "DIALOG"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "Risorsa Y non trovata.\n");
  EXPECT_EQ(cli({"show", f, "Y", "MENU"}).code, 1);
}

TEST(CliDialog, WritesWhatTheDesignerWouldStore) {
  TempDir dir;
  const auto f = dir.write(
      "a.rc",
      "X DIALOG DISCARDABLE 0,0,100,50\nSTYLE WS_POPUP | DS_SETFONT\nBEGIN\n  LTEXT \"a\", -1, 1, "
      "2, 3, 4\n  CONTROL \"b\",IDOK,\"Button\",BS_PUSHBUTTON,5,5,50,14\nEND\n\nX DIALOG 0, 0, "
      "10, 10\n{\n CONTROL \"\", 1, \"msctls_progress32\", 0, 1, 2, 3, 4\n}\nY DIALOG 1, "
      "2\n{\n}\n");
  const CliRun first = cli({"dialog", f, "X"});
  EXPECT_EQ(first.code, 0);
  EXPECT_EQ(first.out,
            "X DIALOG DISCARDABLE 0,0,100,50\nSTYLE WS_POPUP | DS_SETFONT\nBEGIN\n  LTEXT "
            "\"a\", -1, 1, 2, 3, 4\n  CONTROL \"b\",IDOK,\"Button\",BS_PUSHBUTTON,5,5,50,14\nEND");
  EXPECT_EQ(first.err, "");
  const CliRun second = cli({"dialog", f, "X", "--nth", "2"});
  EXPECT_EQ(second.code, 0);
  EXPECT_EQ(second.err, "Controllo msctls_progress32 non supportato.\n");
  const CliRun unreadable = cli({"dialog", f, "Y"});
  EXPECT_EQ(unreadable.code, 1);
  EXPECT_EQ(unreadable.out, "");
  EXPECT_NE(unreadable.err.find("Impossibile leggere il dialog"), std::string::npos);
  EXPECT_EQ(cli({"dialog", f, "Z"}).err, "Risorsa Z non trovata.\n");
  EXPECT_EQ(cli({"dialog", f}).code, 2);
}

TEST(CliDialog, ControlsListsClassIdUnitsAndTheCompiledStyle) {
  TempDir dir;
  const auto f =
      dir.write("a.rc",
                "X DIALOGEX 0, 0, 100, 50\nSTYLE WS_POPUP\nBEGIN\n  LTEXT \"a\", -1, 1, 2, 3, 4\n"
                "  CONTROL \"b\",IDOK,\"Button\",BS_PUSHBUTTON | NOT WS_VISIBLE,5,5,50,14\n"
                "  COMBOBOX IDC_C, 5, 20, 60,\n    80, CBS_DROPDOWNLIST | WS_VSCROLL\n"
                "  CONTROL \"\", 7, \"msctls_trackbar32\", TBS_BOTH, XS, 40, 80, 12\n"
                "  ICON IDI_APP, 8, 70, 5\n  EDITTEXT 9, 1, 1, 1, 1, MY_OWN_STYLE\nEND\n");
  const CliRun run = cli({"dialog", f, "X", "--controls"});
  EXPECT_EQ(run.code, 0);
  // Names the script does not define count as 0 (MY_OWN_STYLE adds nothing to the style).
  EXPECT_EQ(run.out,
            "STATIC\t-1\t1\t2\t3\t4\t0x50020000\n"
            "BUTTON\tIDOK\t5\t5\t50\t14\t0x40000000\n"
            "COMBOBOX\tIDC_C\t5\t20\t60\t80\t0x50200003\n"
            "msctls_trackbar32\t7\t0\t40\t80\t12\t0x50000008\n"
            "STATIC\t8\t70\t5\t0\t0\t0x50000003\n"
            "EDIT\t9\t1\t1\t1\t1\t0x50810000\n");
  EXPECT_EQ(run.err,
            "Controllo msctls_trackbar32 non supportato.\n"
            "Simboli non definiti: IDC_C, XS, MY_OWN_STYLE.\n");
  EXPECT_EQ(cli({"dialog", f, "X", "--control"}).code, 2);
}

TEST(CliDialog, ControlsPrintTheValuesOfTheScriptsSymbolsAndTheClassesMacrosName) {
  TempDir dir;
  dir.write("resource.h", "#define IDC_BAR 1002\n#define xc 200\n");
  const auto f =
      dir.write("a.rc",
                "#include \"resource.h\"\n#define m 7\n#define bxsDots 30\n"
                "X DIALOGEX 0, 0, xc, 50\nBEGIN\n"
                "  CONTROL \"\", IDC_BAR, PROGRESS_CLASS, WS_BORDER, m, m, xc - bxsDots - 12, 8\n"
                "  CONTROL \"Go\", 3, WC_BUTTON, BS_DEFPUSHBUTTON, 4, m * 3, 50, 14\n"
                "  CONTROL \"\", 4, 130, 0, 1, 2, 3, 4\nEND\n");
  const CliRun run = cli({"dialog", f, "X", "--controls"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out,
            "msctls_progress32\tIDC_BAR\t7\t7\t158\t8\t0x50800000\n"
            "Button\t3\t4\t21\t50\t14\t0x50000001\n"
            "Static\t4\t1\t2\t3\t4\t0x50000000\n");
  EXPECT_EQ(run.err, "Controllo PROGRESS_CLASS non supportato.\n");
}

TEST(CliShow, KeepsTheFileLineEnds) {
  TempDir dir;
  const auto f = dir.write("a.rc", "Y ICON\n{\n}\n");
  EXPECT_EQ(cli({"show", f, "Y", "I"}).out, "Y ICON\n{\n}");
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

const std::string kScript = "A ICON\r\n{\r\n}\r\n\r\n\r\nMYDLG DIALOG 0, 0, 1, 1\r\n{\r\n}";

TEST(CliResourceCommands, RenameSavesOrRefusesWithThePromptMessage) {
  TempDir dir;
  const auto other = dir.write("b.rc", kScript + "\r\nOTHER DIALOG 0, 0, 1, 1\r\n{\r\n}");
  const CliRun refused = cli({"rename", other, "OTHER", "D", "mydlg "});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.err, "Nome risorsa già presente.\n");
  // Its own name is no other's: the same name changes nothing, other letters change the case.
  const auto f = dir.write("a.rc", kScript);
  EXPECT_EQ(cli({"rename", f, "MYDLG", "D", "mydlg "}).code, 0);
  EXPECT_EQ(TempDir::read(f), kScript);
  const auto lower = dir.write("c.rc", "zz DIALOG 0, 0, 1, 1\r\n{\r\n}");
  EXPECT_EQ(cli({"rename", lower, "zz", "D", "ZZ"}).code, 0);
  EXPECT_EQ(TempDir::read(lower), "ZZ DIALOG 0, 0, 1, 1\r\n{\r\n}");
  EXPECT_EQ(cli({"rename", f, "MYDLG", "D", "a b"}).err, "Spazi non ammessi.\n");
  EXPECT_EQ(TempDir::read(f), kScript);
  EXPECT_EQ(cli({"rename", f, "MYDLG", "DIALOG", "main"}).code, 0);
  EXPECT_EQ(cli({"list", f}).out, "A\tI\nMAIN\tD\n");
  EXPECT_EQ(cli({"rename", f, "NONE", "D", "X"}).err, "Risorsa NONE non trovata.\n");
}

TEST(CliResourceCommands, NamesThePromptWouldNotTakeAreRefusedNeverCut) {
  TempDir dir;
  const auto f = dir.write("a.rc", kScript);
  const std::pair<const char*, const char*> rows[] = {
      {"ABCDEFGHIJKLMNOPQRST", "Nome troppo lungo: al massimo 15 caratteri.\n"},
      {"", "Nome risorsa mancante.\n"},
      {"A\tB", "Spazi non ammessi.\n"},
      {"A\x01", "Carattere non ammesso nel nome.\n"},
      {"中文", "Carattere non ammesso nel nome.\n"},  // not in the script's code page
  };
  for (const auto& [name, message] : rows) {
    const CliRun r = cli({"rename", f, "MYDLG", "D", name});
    EXPECT_EQ(r.code, 1) << name;
    EXPECT_EQ(r.err, message) << name;
    EXPECT_EQ(cli({"new", f, "ICON", name}).err, message) << name;
  }
  EXPECT_EQ(TempDir::read(f), kScript);
  EXPECT_EQ(cli({"rename", f, "MYDLG", "D", "ABCDEFGHIJKLMNO"}).code, 0);  // 15 is fine
  EXPECT_EQ(cli({"rename", f, "ABCDEFGHIJKLMNO", "D", "PERCHÉ"}).code, 0);
  EXPECT_EQ(cli({"list", f}).out, "A\tI\nPERCHÉ\tD\n");  // stored in Windows-1252
  EXPECT_NE(TempDir::read(f).find("PERCH\xC9 DIALOG"), std::string::npos);
}

TEST(CliResourceCommands, AnOverlongUtf8FormIsNoLineFeed) {
  // E0 80 8A would decode to a line feed inside the header; it is no UTF-8, so its bytes stand
  // for themselves, as bytes typed in the script's code page do.
  TempDir dir;
  const auto f = dir.write("a.rc", kScript);
  EXPECT_EQ(cli({"rename", f, "MYDLG", "D",
                 "A\xE0\x80\x8A"
                 "B"})
                .code,
            0);
  EXPECT_NE(TempDir::read(f).find("A\xE0\x80\x8A"
                                  "B DIALOG"),
            std::string::npos);
}

TEST(CliResourceCommands, DeleteAsksNothing) {
  TempDir dir;
  const auto f = dir.write("a.rc", kScript);
  EXPECT_EQ(cli({"delete", f, "A", "I"}).code, 0);
  EXPECT_EQ(TempDir::read(f), "MYDLG DIALOG 0, 0, 1, 1\r\n{\r\n}");
}

TEST(CliResourceCommands, NewTakesAKindKeyword) {
  TempDir dir;
  const auto f = dir.write("a.rc", kScript);
  EXPECT_EQ(cli({"new", f, "VERSIONINFO", "ver"}).code, 0);
  EXPECT_EQ(cli({"show", f, "VER", "VI"}).out, "VER VERSIONINFO\r\n{\r\n}");
  EXPECT_EQ(cli({"new", f, "D", "X"}).code, 2);
  EXPECT_EQ(cli({"new", f, "DIALOG", "MYDLG"}).code, 1);
}

TEST(CliResourceCommands, PasteKeepsOrReplacesTheName) {
  TempDir dir;
  const auto f = dir.write("a.rc", kScript);
  const std::string block = cli({"show", f, "MYDLG", "D"}).out;
  EXPECT_EQ(cli({"paste", f}, block).err, "Nome risorsa già presente.\n");
  EXPECT_EQ(cli({"paste", f, "COPY"}, block).code, 0);
  EXPECT_EQ(cli({"show", f, "COPY", "D"}).out, "COPY DIALOG 0, 0, 1, 1\r\n{\r\n}");
  EXPECT_EQ(cli({"paste", f, "X"}, "").code, 1);
}

TEST(CliResourceCommands, ReplaceTakesTheEditedText) {
  TempDir dir;
  const auto f = dir.write("a.rc", "B ICON\n{\n}\nA ICON\n{\n}\n");
  EXPECT_EQ(cli({"replace", f, "B", "I"}, "B ICON\n{\n}").code, 0);  // unchanged: not reordered
  EXPECT_EQ(TempDir::read(f), "B ICON\n{\n}\nA ICON\n{\n}\n");
  EXPECT_EQ(cli({"replace", f, "B", "I"}, "C ICON\n{\n 'x'\n}").code, 0);
  // Renamed in a stretch its author did not sort (B above A): it stays where it stood.
  EXPECT_EQ(TempDir::read(f), "C ICON\n{\n 'x'\n}\nA ICON\n{\n}\n");
  // In a sorted one it moves to keep the order, taking its line end with it.
  EXPECT_EQ(cli({"replace", f, "A", "I"}, "D ICON\n{\n}").code, 0);
  EXPECT_EQ(TempDir::read(f), "C ICON\n{\n 'x'\n}\nD ICON\n{\n}\n");
  EXPECT_EQ(cli({"replace", f, "C", "I"}, "E ICON\n{\n 'x'\n}").code, 0);
  EXPECT_EQ(TempDir::read(f), "D ICON\n{\n}\nE ICON\n{\n 'x'\n}\n");
}

TEST(CliResourceCommands, StandardInputLosesAFinalCtrlZAsAFileDoes) {
  TempDir dir;
  const auto f = dir.write("a.rc", kScript);
  EXPECT_EQ(cli({"replace", f, "A", "I"}, "A ICON\r\n{\r\n 'x'\r\n}\x1A").code, 0);
  EXPECT_EQ(cli({"paste", f, "B"}, "A ICON\r\n{\r\n}\x1A").code, 0);
  EXPECT_EQ(TempDir::read(f).find('\x1A'), std::string::npos);
  EXPECT_EQ(cli({"show", f, "B", "I"}).out, "B ICON\r\n{\r\n}");
}

TEST(CliResourceCommands, NthPicksOneOfSeveralNamesakes) {
  TempDir dir;
  const auto f = dir.write("a.rc", "X ICON\r\n{\r\n 1\r\n}\r\nX ICON\r\n{\r\n 2\r\n}");
  EXPECT_EQ(cli({"show", f, "X", "I"}).out, "X ICON\r\n{\r\n 1\r\n}");
  EXPECT_EQ(cli({"show", f, "X", "I", "--nth", "2"}).out, "X ICON\r\n{\r\n 2\r\n}");
  EXPECT_EQ(cli({"show", "--nth", "3", f, "X", "I"}).err, "Risorsa X numero 3 non trovata.\n");
  EXPECT_EQ(cli({"show", f, "X", "I", "--nth", "0"}).code, 2);
  EXPECT_EQ(cli({"list", f, "--nth", "1"}).code, 2);
  EXPECT_EQ(cli({"delete", f, "X", "I", "--nth", "2"}).code, 0);
  EXPECT_EQ(TempDir::read(f), "X ICON\r\n{\r\n 1\r\n}");
}

// What the compiler skips is listed and marked, and --nth takes the active copies first.
TEST(CliResourceCommands, InactiveCopiesAreMarkedAndTakenLast) {
  TempDir dir;
  const auto f = dir.write("a.rc",
                           "#ifdef _WIN64\r\nX ICON \"x64.ico\"\r\n#else\r\nX ICON \"x.ico\"\r\n"
                           "#endif\r\n#if 0\r\n"
                           "M MENU\r\n{\r\n MENUITEM \"old\", 1\r\n}\r\n#endif\r\n"
                           "M MENU\r\n{\r\n MENUITEM \"new\", 2\r\n}\r\n");
  EXPECT_EQ(cli({"list", f}).out, "M\tM\nM\tM\t\tinattivo\nX\tI\nX\tI\t\tinattivo\n");
  EXPECT_EQ(cli({"list", f, "--six"}).out, "X\tI\nX\tI\t\tinattivo\n");
  EXPECT_EQ(cli({"show", f, "X", "I"}).out, "X ICON \"x.ico\"");
  EXPECT_EQ(cli({"show", f, "X", "I", "--nth", "2"}).out, "X ICON \"x64.ico\"");
  EXPECT_EQ(cli({"menu", f, "M"}).out, "new\t2\t\n");
  EXPECT_EQ(cli({"menu", f, "M", "--nth", "2"}).out, "old\t1\t\n");
  EXPECT_EQ(cli({"rename", f, "X", "I", "Y"}).code, 0);
  EXPECT_NE(TempDir::read(f).find("Y ICON \"x.ico\""), std::string::npos);
}

TEST(CliReorder, ToStandardOutputAndNeverOverASpecialFile) {
  TempDir dir;
  const auto f = dir.write("a.rc", "B ICON\n{\n}\nA ICON\n{\n}\n");
  const CliRun out = cli({"reorder", f, "-o", "-"});
  EXPECT_EQ(out.code, 0);
  EXPECT_EQ(out.out, "A ICON\n{\n}\nB ICON\n{\n}\n");
  EXPECT_EQ(TempDir::read(f), "B ICON\n{\n}\nA ICON\n{\n}\n");
  const CliRun device = cli({"reorder", f, "-o", "/dev/null"});
  EXPECT_EQ(device.code, 1);
  EXPECT_EQ(device.err,
            "Impossibile salvare il file /dev/null.\nNon è un file normale (dispositivo o "
            "pipe).\n");
}

// UTF-16 little-endian bytes of an ASCII text, with the byte-order mark.
std::string utf16(std::string_view ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) out += std::string{c, '\0'};
  return out;
}

TEST(CliUtf16, EveryCommandKeepsTheFilesForm) {
  TempDir dir;
  const std::string original = utf16("B ICON\r\n{\r\n}\r\nA DIALOG 0, 0, 1, 1\r\n{\r\n}\r\n");
  const auto f = dir.write("u.rc", original);
  EXPECT_EQ(cli({"list", f}).out, "A\tD\nB\tI\n");
  EXPECT_EQ(cli({"show", f, "B", "I"}).out, utf16("B ICON\r\n{\r\n}"));
  EXPECT_EQ(cli({"new", f, "ICON", "N"}).code, 0);
  EXPECT_EQ(cli({"paste", f, "P"}, cli({"show", f, "B", "I"}).out).code, 0);
  EXPECT_EQ(cli({"paste", f, "Q"}, "Q ICON\n{\n}\n").code, 0);  // plain text enters too
  EXPECT_EQ(cli({"rename", f, "B", "I", "BB"}).code, 0);
  EXPECT_EQ(cli({"list", f}).out, "A\tD\nBB\tI\nN\tI\nP\tI\nQ\tI\n");
  const std::string bytes = TempDir::read(f);
  EXPECT_TRUE(bytes.starts_with("\xFF\xFE"));
  EXPECT_EQ(bytes.size() % 2, 0u);
  EXPECT_EQ(cli({"delete", f, "N", "I"}).code, 0);
  EXPECT_EQ(cli({"reorder", f}).code, 0);
  // Each kind keeps its places: the icons stay first.
  EXPECT_TRUE(TempDir::read(f).starts_with(utf16("BB ICON")));
  EXPECT_NE(TempDir::read(f).find(utf16("A DIALOG").substr(2)), std::string::npos);
}

TEST(CliUtf16, AFileThatWouldNotComeBackIsRefusedAndNotWritten) {
  TempDir dir;
  const std::string odd = utf16("A ICON\r\n{\r\n}") + "x";
  const auto f = dir.write("u.rc", odd);
  const CliRun r = cli({"new", f, "ICON", "N"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Impossibile aprire il file " + f +
                       ".\nIl file è in UTF-16 ma il numero di byte è dispari: salvandolo si "
                       "perderebbero dei dati.\n");
  EXPECT_EQ(TempDir::read(f), odd);
}

TEST(CliImage, ExportImportAndInfoOfInlineImages) {
  TempDir dir;
  const auto f = dir.write("a.rc", "");
  ASSERT_EQ(cli({"new", f, "BITMAP", "LOGO"}).code, 0);
  ASSERT_EQ(cli({"new", f, "ICON", "APP"}).code, 0);
  EXPECT_EQ(cli({"image", "info", f, "LOGO", "B"}).out, "Bitmap: 32 x 32\n");
  EXPECT_EQ(cli({"image", "info", f, "APP", "ICON"}).out, "Icon: 32 x 32\n");
  EXPECT_EQ(cli({"image", "export", f, "LOGO", "B", dir.file("logo.bmp")}).code, 0);
  const std::string logo = TempDir::read(dir.file("logo.bmp"));
  EXPECT_EQ(logo.size(), 190u);
  EXPECT_TRUE(logo.starts_with("BM"));
  // Importing the bitmap's bytes into the icon: the data changes, the rest stays.
  EXPECT_EQ(cli({"image", "import", f, "APP", "I", dir.file("logo.bmp")}).code, 0);
  EXPECT_EQ(cli({"image", "export", f, "APP", "I", "-"}).out, logo);
  const CliRun notIcon = cli({"image", "info", f, "APP", "I"});
  EXPECT_EQ(notIcon.code, 1);
  EXPECT_EQ(notIcon.err, "Impossibile mostrare l'immagine: i dati non formano un'immagine.\n");
  EXPECT_EQ(cli({"image", "info", f, "APP", "DIALOG"}).code, 2);
}

TEST(CliImage, ImagesInFilesAreReadButNeverImported) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("res"));
  const auto f = dir.write("a.rc", "IDB_X BITMAP \"RES\\\\x.bmp\"\r\nIDB_Y BITMAP \"y.bmp\"\r\n");
  // The template's bytes, as a file beside the script (the name matched without regard to case).
  dir.write("t.rc", "");
  ASSERT_EQ(cli({"new", dir.file("t.rc"), "BITMAP", "T"}).code, 0);
  dir.write("res/X.BMP", cli({"image", "export", dir.file("t.rc"), "T", "B", "-"}).out);
  EXPECT_EQ(cli({"image", "info", f, "IDB_X", "B"}).out, "Bitmap: 32 x 32\n");
  const CliRun import = cli({"image", "import", f, "IDB_X", "B", dir.file("res/X.BMP")});
  EXPECT_EQ(import.code, 1);
  EXPECT_EQ(import.err, "La risorsa IDB_X usa il file " + dir.file("res/X.BMP") +
                            ": importare i byte in quel file.\n");
  const CliRun missing = cli({"image", "info", f, "IDB_Y", "B"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err,
            "Impossibile mostrare l'immagine: file " + dir.file("y.bmp") + " non trovato.\n");
  EXPECT_EQ(TempDir::read(f), "IDB_X BITMAP \"RES\\\\x.bmp\"\r\nIDB_Y BITMAP \"y.bmp\"\r\n");
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

TEST(CliStyle, ParsePrintsEightHexDigitsOrRefuses) {
  const CliRun dialog =
      cli({"style", "parse", "DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU"});
  EXPECT_EQ(dialog.code, 0);
  EXPECT_EQ(dialog.out, "0x80C80080\n");
  EXPECT_EQ(dialog.err, "");
  EXPECT_EQ(cli({"style", "parse", " "}).out, "0x00000000\n");
  EXPECT_EQ(cli({"style", "parse", "ws_child|0x1f|10"}).out, "0x4000001F\n");
  // Every name of the headers reads; a word that is none is named.
  EXPECT_EQ(cli({"style", "parse", "DS_SHELLFONT | ws_childwindow | TCS_BUTTONS"}).out,
            "0x40000148\n");
  const CliRun refused = cli({"style", "parse", "WS_CHILD | IDS_FOO"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, "Stile non valido: IDS_FOO.\n");
  EXPECT_EQ(cli({"style", "parse", "WS_CHILD |"}).err, "Stile non valido.\n");
}

TEST(CliStyle, TextWritesEachFamily) {
  const std::pair<const char*, const char*> rows[] = {
      {"dialog", "WS_CHILD | WS_MAXIMIZEBOX"},
      {"button", "BS_PUSHBUTTON | WS_CHILD | WS_TABSTOP"},
      {"combobox", "WS_CHILD | WS_TABSTOP"},
      {"edit", "ES_LEFT | WS_CHILD | WS_TABSTOP"},
      {"listbox", "WS_CHILD | WS_TABSTOP"},
      {"scrollbar", "WS_CHILD | WS_TABSTOP"},
      {"static", "SS_LEFT | WS_CHILD | WS_TABSTOP"},
      {"systreeview32", "WS_CHILD | WS_TABSTOP"},
      {"window", "WS_CHILD | WS_TABSTOP"},
  };
  for (const auto& [family, text] : rows) {
    const CliRun r = cli({"style", "text", family, "0x40010000"});
    EXPECT_EQ(r.code, 0) << family;
    EXPECT_EQ(r.out, std::string(text) + "\n") << family;
  }
  EXPECT_EQ(cli({"style", "text", "dialog", "2160590976"}).out,
            "DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n");
  EXPECT_EQ(cli({"style", "text", "window", "0"}).out, "0\n");
  EXPECT_EQ(cli({"style", "text", "listbox", "0X3"}).out, "LBS_NOTIFY | LBS_SORT\n");
  // No bit is lost: what no name covers is one hexadecimal term.
  EXPECT_EQ(cli({"style", "text", "button", "0x0F000000"}).out, "BS_PUSHBUTTON | 0x0F000000\n");
  EXPECT_EQ(cli({"style", "text", "dialog", "0x40"}).out, "0x00000040\n");
}

TEST(CliStyle, BadFamilyOrNumberIsAUsageError) {
  const std::vector<std::vector<std::string>> rows = {
      {"style"},
      {"style", "parse"},
      {"style", "parse", "WS_CHILD", "WS_VISIBLE"},
      {"style", "text", "dialog"},
      {"style", "text", "menu", "1"},
      {"style", "text", "Dialog", "1"},
      {"style", "text", "dialog", "WS_CHILD"},
      {"style", "text", "dialog", "4294967296"},
      {"style", "text", "dialog", "-1"},
      {"style", "text", "dialog", ""},
      {"style", "list", "dialog", "1"},
  };
  for (const auto& args : rows) {
    const CliRun r = cli(args);
    EXPECT_EQ(r.code, 2) << args.size();
    EXPECT_EQ(r.out, "") << args.size();
    EXPECT_NE(r.err.find("uso:"), std::string::npos) << args.size();
  }
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

const std::string kDialogs =
    "ABOUT DIALOG 0, 0, 100, 50\n"
    "STYLE WS_POPUP | WS_CAPTION\n"
    "CAPTION \"Info\"\n"
    "FONT 8, \"MS Sans Serif\"\n"
    "BEGIN\n"
    "  LTEXT \"Nome:\", -1, 5, 5, 40, 8\n"
    "  // pulsanti\n"
    "  CONTROL \"OK\",1,\"BUTTON\",BS_PUSHBUTTON|WS_CHILD|WS_VISIBLE,5,20,50,14\n"
    "END\n"
    "\n"
    "MAIN DIALOG 0, 0, 10, 10\n"
    "STYLE WS_POPUP\n"
    "{\n"
    "}\n";

TEST(CliDialogProps, WithoutOptionsPrintsTheFormAndWithThemStoresItsChecks) {
  TempDir dir;
  const auto f = dir.write("a.rc", kDialogs);
  const CliRun shown = cli({"dialog-props", f, "ABOUT"});
  EXPECT_EQ(shown.code, 0);
  EXPECT_EQ(
      shown.out,
      "Nome:\tABOUT\nTitolo:\tInfo\nX\t0\nY\t0\nL\t100\nH\t50\nStile:\tWS_POPUP | WS_CAPTION\n");

  const CliRun taken = cli({"dialog-props", f, "ABOUT", "--name", "main"});
  EXPECT_EQ(taken.code, 1);
  EXPECT_EQ(taken.err, "Nome: Nome risorsa già presente.\n");
  EXPECT_EQ(cli({"dialog-props", f, "ABOUT", "--size", "12345,5"}).err,
            "L Numero troppo grande.\n");
  EXPECT_EQ(TempDir::read(f), kDialogs);

  const CliRun stored = cli({"dialog-props", f, "ABOUT", "--name", "zeta", "--caption",
                             "Di \"noi\"", "--pos", "7,8", "--style", "WS_POPUP"});
  EXPECT_EQ(stored.code, 0) << stored.err;
  EXPECT_EQ(cli({"list", f}).out, "MAIN\tD\nZETA\tD\n");
  EXPECT_EQ(cli({"show", f, "ZETA", "D"}).out,
            "ZETA DIALOG 7, 8, 100, 50\nSTYLE WS_POPUP\nCAPTION \"Di \"\"noi\"\"\"\n"
            "FONT 8, \"MS Sans Serif\"\nBEGIN\n"
            "  LTEXT \"Nome:\", -1, 5, 5, 40, 8\n  // pulsanti\n"
            "  CONTROL \"OK\",1,\"BUTTON\",BS_PUSHBUTTON|WS_CHILD|WS_VISIBLE,5,20,50,14\nEND");

  EXPECT_EQ(cli({"dialog-props", f, "ZETA", "--pos", "7"}).code, 2);
  EXPECT_EQ(cli({"dialog-props", f, "ZETA", "--colour", "red"}).code, 2);
  EXPECT_EQ(cli({"dialog-props", f, "ZETA", "--name"}).code, 2);
}

// A header whose body opens on its own line (`{` or BEGIN after the numbers): the form reads
// the numbers before the opener, and a change rewrites only its own.
TEST(CliDialogProps, AHeaderWithItsBodyOpenedOnTheSameLine) {
  TempDir dir;
  const std::string script =
      "1 DIALOG 0, 0, 100, 50 {\n  LTEXT \"a\", -1, 1, 1, 9, 9\n}\n"
      "2 DIALOGEX 1, 2, 30, 40 BEGIN LTEXT \"b\", -1, 1, 1, 9, 9\nEND\n";
  const auto f = dir.write("a.rc", script);
  EXPECT_EQ(cli({"dialog-props", f, "1"}).out,
            "Nome:\t1\nTitolo:\t\nX\t0\nY\t0\nL\t100\nH\t50\n"
            "Stile:\t\n");
  const CliRun moved = cli({"dialog-props", f, "1", "--pos", "7,8"});
  ASSERT_EQ(moved.code, 0) << moved.err;
  const CliRun sized = cli({"dialog-props", f, "2", "--size", "31,41"});
  ASSERT_EQ(sized.code, 0) << sized.err;
  std::string expected = script;
  expected.replace(expected.find("0, 0, 100"), 4, "7, 8");
  expected.replace(expected.find("30, 40"), 6, "31, 41");
  EXPECT_EQ(TempDir::read(f), expected);
}

TEST(CliTabOrder, PrintsTheRowsReordersThemAndChangesIds) {
  TempDir dir;
  const auto f = dir.write("a.rc", kDialogs);
  const CliRun rows = cli({"tab-order", f, "ABOUT"});
  EXPECT_EQ(rows.code, 0);
  EXPECT_EQ(rows.out,
            "1\tNome:\t-1\tSTATIC\t5\t5\t40\t8\n"
            "2\tOK\t1\tBUTTON\t5\t20\t50\t14\n");
  EXPECT_EQ(TempDir::read(f), kDialogs);  // printing stores nothing

  EXPECT_EQ(cli({"tab-order", f, "ABOUT", "2"}).err, "Indicare ognuna delle 2 righe una volta.\n");
  EXPECT_EQ(cli({"tab-order", f, "ABOUT", "1", "1"}).err, "Riga 1 indicata due volte.\n");
  EXPECT_EQ(cli({"tab-order", f, "ABOUT", "2", "3"}).err,
            "Riga 3 inesistente: le righe vanno da 1 a 2.\n");
  EXPECT_EQ(cli({"tab-order", f, "ABOUT", "--id", "2=70000"}).err,
            "Id 70000: Numero troppo grande.\n");
  EXPECT_EQ(cli({"tab-order", f, "ABOUT", "--id", "2"}).code, 2);
  EXPECT_EQ(TempDir::read(f), kDialogs);
  // The order as it stands stores nothing.
  EXPECT_EQ(cli({"tab-order", f, "ABOUT", "1", "2"}).code, 0);
  EXPECT_EQ(TempDir::read(f), kDialogs);

  // The comment above OK moves with it.
  EXPECT_EQ(cli({"tab-order", f, "ABOUT", "2", "1", "--id", "1=101"}).code, 0);
  EXPECT_EQ(cli({"show", f, "ABOUT", "D"}).out,
            "ABOUT DIALOG 0, 0, 100, 50\nSTYLE WS_POPUP | WS_CAPTION\nCAPTION \"Info\"\n"
            "FONT 8, \"MS Sans Serif\"\nBEGIN\n  // pulsanti\n"
            "  CONTROL \"OK\",1,\"BUTTON\",BS_PUSHBUTTON|WS_CHILD|WS_VISIBLE,5,20,50,14\n"
            "  LTEXT \"Nome:\", 101, 5, 5, 40, 8\nEND");
  // Ids alone keep the order and print the rows as they now stand.
  const CliRun ids = cli({"tab-order", f, "ABOUT", "--id", "1=2"});
  EXPECT_EQ(ids.code, 0);
  EXPECT_EQ(ids.out.substr(0, ids.out.find('\n')), "1\tOK\t2\tBUTTON\t5\t20\t50\t14");
}

// A preprocessor line is a row without an id that stays in its place.
TEST(CliTabOrder, APreprocessorLineHasNoIdAndNoRowMovesPastIt) {
  TempDir dir;
  const std::string script =
      "D DIALOG 0, 0, 100, 50\nBEGIN\n  LTEXT \"A\", 1, 5, 5, 40, 8\n#ifdef X\n"
      "  LTEXT \"B\", 2, 5, 15, 40, 8\n#endif\nEND\n";
  const auto f = dir.write("a.rc", script);
  EXPECT_EQ(cli({"tab-order", f, "D"}).out,
            "1\tA\t1\tSTATIC\t5\t5\t40\t8\n2\t#ifdef X\t\t\t\t\t\t\n"
            "3\tB\t2\tSTATIC\t5\t15\t40\t8\n4\t#endif\t\t\t\t\t\t\n");
  EXPECT_EQ(cli({"tab-order", f, "D", "--id", "2=5"}).err,
            "La riga 2 non è un controllo e non ha un id.\n");
  const CliRun across = cli({"tab-order", f, "D", "3", "2", "1", "4"});
  EXPECT_EQ(across.code, 1);
  EXPECT_EQ(across.err,
            "Le righe del preprocessore (#if, #else, #endif, ...) restano al loro posto e "
            "nessuna riga passa oltre una di esse.\n");
  EXPECT_EQ(TempDir::read(f), script);
}

// menu and accelerators print the items and rows the readers give; a body that does not read
// fails with its reason, and --nth picks among resources of one name.
TEST(CliMenus, MenuTreeAndAcceleratorRows) {
  TempDir dir;
  const auto f = dir.write(
      "m.rc",
      "#define IDM_OPEN 1\nM MENU\n{\n POPUP \"&File\"\n {\n  MENUITEM \"&Apri\\tCtrl+O\", "
      "IDM_OPEN, CHECKED\n  MENUITEM SEPARATOR\n }\n}\nM MENUEX\n{\n MENUITEM \"Due\", 2, , "
      "MFS_GRAYED\n}\nK ACCELERATORS\n{\n \"^O\", IDM_OPEN\n VK_F5, 5, VIRTKEY, SHIFT\n}\n"
      "BAD MENU\n{\n MENUITEM \"x\"\n}\n");
  const CliRun menu = cli({"menu", f, "M"});
  EXPECT_EQ(menu.code, 0) << menu.err;
  EXPECT_EQ(menu.out, "&File\t\t\n  &Apri\\tCtrl+O\tIDM_OPEN\tCHECKED\n  \t\tSEPARATOR\n");
  EXPECT_EQ(cli({"menu", "--nth", "2", f, "M"}).out, "Due\t2\tGRAYED\n");
  const CliRun keys = cli({"accelerators", f, "K"});
  EXPECT_EQ(keys.code, 0) << keys.err;
  EXPECT_EQ(keys.out, "Ctrl+O\tIDM_OPEN\t\nMaiusc+F5\t5\tVIRTKEY SHIFT\n");
  const CliRun bad = cli({"menu", f, "BAD"});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.err, "Riga 21: manca l'id della voce dopo il testo.\n");
  EXPECT_EQ(cli({"accelerators", f, "M"}).err, "Risorsa M non trovata.\n");
  EXPECT_EQ(cli({"menu", f}).code, 2);
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

TEST(CliStrings, ListsAndSetsOneLiteralByIdOrValueKeepingTheFilesForm) {
  TempDir dir;
  dir.write("ids.h", "#define IDS_HELLO 7\n");
  const auto f = dir.write("s.rc",
                           "#include \"ids.h\"\nSTRINGTABLE\nBEGIN\n  IDS_HELLO, \"Ciao\\tmondo\"\n"
                           "  8 L\"a\"\"b\" \"c\"\nEND\n");
  const CliRun listed = cli({"strings", f});
  EXPECT_EQ(listed.code, 0);
  EXPECT_EQ(listed.out, "\tIDS_HELLO\tCiao\\tmondo\n\t8\ta\"bc\n");
  EXPECT_EQ(cli({"string-set", f, "7", "Salve \"a\" tutti"}).code, 0);
  EXPECT_EQ(cli({"string-set", f, "8", "x"}).code, 0);
  EXPECT_EQ(TempDir::read(f),
            "#include \"ids.h\"\nSTRINGTABLE\nBEGIN\n  IDS_HELLO, \"Salve \"\"a\"\" tutti\"\n"
            "  8 L\"x\"\nEND\n");
  const CliRun missing = cli({"string-set", f, "IDS_OTHER", "x"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "Stringa IDS_OTHER non trovata.\n");
  EXPECT_EQ(cli({"string-set", f, "7"}).code, 2);
  EXPECT_EQ(cli({"string-set", f, "7", "x", "--lang"}).code, 2);
  const auto u = dir.write("u.rc", utf16("STRINGTABLE\r\n{\r\n 1 \"a\"\r\n}\r\n"));
  EXPECT_EQ(cli({"string-set", u, "1", "b"}).code, 0);
  EXPECT_EQ(TempDir::read(u), utf16("STRINGTABLE\r\n{\r\n 1 \"b\"\r\n}\r\n"));
  // The same ID in two languages: named by --lang, else refused with the languages listed.
  const auto two =
      dir.write("l.rc",
                "LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN\nSTRINGTABLE\n{\n 1 \"uno\"\n}\n"
                "STRINGTABLE LANGUAGE LANG_GERMAN, SUBLANG_NEUTRAL\n{\n 1 \"eins\"\n}\n");
  EXPECT_EQ(cli({"strings", two}).out, "it\t1\tuno\nde\t1\teins\n");
  const CliRun ambiguous = cli({"string-set", two, "1", "x"});
  EXPECT_EQ(ambiguous.code, 1);
  EXPECT_EQ(ambiguous.err, "La stringa 1 è in più lingue (de, it): indicarne una con --lang.\n");
  EXPECT_EQ(cli({"string-set", two, "1", "ein", "--lang", "de"}).code, 0);
  EXPECT_NE(TempDir::read(two).find("{\n 1 \"uno\"\n}\nSTRINGTABLE LANGUAGE LANG_GERMAN, "
                                    "SUBLANG_NEUTRAL\n{\n 1 \"ein\"\n}"),
            std::string::npos);
  EXPECT_EQ(cli({"string-set", two, "1", "x", "--lang", "fr"}).err,
            "Stringa 1 non trovata nella lingua fr.\n");
  const auto broken = dir.write("b.rc", "STRINGTABLE\n{\n 1\n}\n");
  EXPECT_EQ(cli({"strings", broken}).err,
            "Tabella delle stringhe alla riga 1: ID senza testo alla riga 3.\n");
}

// strings prints each text on one line, in the form string-set takes: given back, it writes
// nothing, however the literal was written.
TEST(CliStrings, PrintsOneLinePerStringThatStringSetTakesBack) {
  TempDir dir;
  const std::string script =
      "STRINGTABLE\r\n{\r\n 1 \"a\\nb\"\r\n 2 \"go on \\\r\n     here\"\r\n"
      " 3 \"c:\\\\dir\\tq \"\"x\"\"\"\r\n 4 \"\\x41\\101\\a\\r\" L\"z\"\r\n 5 \"tab\tin\"\r\n"
      " 6 \"keep \\q\"\r\n}\r\n";
  const auto f = dir.write("s.rc", script);
  const CliRun listed = cli({"strings", f});
  EXPECT_EQ(listed.out,
            "\t1\ta\\nb\n\t2\tgo on here\n\t3\tc:\\\\dir\\tq \"x\"\n\t4\tAA\\x08\\rz\n"
            "\t5\ttab\\tin\n\t6\tkeep \\\\q\n");
  std::istringstream lines(listed.out);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t id = line.find('\t') + 1, text = line.find('\t', id) + 1;
    EXPECT_EQ(cli({"string-set", f, line.substr(id, text - id - 1), line.substr(text)}).code, 0);
    EXPECT_EQ(TempDir::read(f), script) << line;
  }
  EXPECT_EQ(cli({"strings", f, "--raw"}).out,
            "\t1\ta\nb\n\t2\tgo on here\n\t3\tc:\\dir\tq \"x\"\n\t4\tAA\b\rz\n\t5\ttab\tin\n"
            "\t6\tkeep \\q\n");
  // A backslash before a letter that makes no escape stays; a doubled one is one backslash.
  EXPECT_EQ(cli({"string-set", f, "1", "x\\\\n\\y\\x4"}).code, 0);
  EXPECT_EQ(cli({"string-set", f, "5", "\\x09\\x7f"}).code, 0);
  EXPECT_NE(TempDir::read(f).find(" 1 \"x\\\\n\\\\y\\\\x4\"\r\n"), std::string::npos);
  EXPECT_NE(TempDir::read(f).find(" 5 \"\\t\\177\"\r\n"), std::string::npos);
  EXPECT_EQ(cli({"strings", f, "--raw", "x"}).code, 2);
}

// Under "#pragma code_page(1251)" every text is read, shown and written in Cyrillic: a string,
// a dialog's caption, a control's text, a menu's items.
TEST(CliCodePage, TextsAreReadAndWrittenInThePageInForce) {
  TempDir dir;
  const std::string head =
      "#pragma code_page(1251)\nSTRINGTABLE\n{\n 1 \"\xCF\xE5\xF7\xE0\xF2\xFC"
      "\"\n}\nD DIALOG 0, 0, 100, 50\nCAPTION \"\xCE\xEA\xED\xEE"
      "\"\n{\n LTEXT \"\xC8\xEC\xFF"
      "\", 10, 5, 5, 40, 8\n}\n";
  const std::string menu =
      "M MENU\n{\n POPUP \"\xD4\xE0\xE9\xEB"
      "\"\n {\n  MENUITEM \"\xCE\xF2\xEA\xF0\xFB\xF2\xFC"
      "\", 100\n }\n}\n";
  const auto f = dir.write("r.rc", head + menu);
  EXPECT_EQ(cli({"strings", f}).out, "\t1\tПечать\n");
  EXPECT_NE(cli({"dialog-props", f, "D"}).out.find("Titolo:\tОкно\n"), std::string::npos);
  EXPECT_EQ(cli({"tab-order", f, "D"}).out.substr(0, 8), "1\tИмя");
  EXPECT_EQ(cli({"menu", f, "M"}).out, "Файл\t\t\n  Открыть\t100\t\n");
  // Typed back as shown: nothing changes. Typed anew: the page's bytes.
  EXPECT_EQ(cli({"string-set", f, "1", "Печать"}).code, 0);
  EXPECT_EQ(cli({"dialog-props", f, "D", "--caption", "Окно"}).code, 0);
  EXPECT_EQ(TempDir::read(f), head + menu);
  EXPECT_EQ(cli({"string-set", f, "1", "Сохранить"}).code, 0);
  const CliRun caption = cli({"dialog-props", f, "D", "--caption", "Печать"});
  EXPECT_EQ(caption.code, 0) << caption.err;
  const std::string after = TempDir::read(f);
  EXPECT_NE(after.find(" 1 \"\xD1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC\"\n"), std::string::npos);
  EXPECT_NE(after.find("CAPTION \"\xCF\xE5\xF7\xE0\xF2\xFC\"\n"), std::string::npos);
  EXPECT_EQ(cli({"strings", f}).out, "\t1\tСохранить\n");
  // A character the page lacks is refused, in the caption as in a string.
  const CliRun greek = cli({"dialog-props", f, "D", "--caption", "Ωμέγα"});
  EXPECT_EQ(greek.code, 1);
  EXPECT_EQ(greek.err, "Titolo: Campo non valido.\n");
  EXPECT_EQ(cli({"string-set", f, "1", "é"}).code, 1);
  EXPECT_EQ(TempDir::read(f), after);
  // A version value, shown with its escapes as written.
  const auto v =
      dir.write("v.rc",
                "#pragma code_page(1251)\nV VERSIONINFO\nBEGIN\n BLOCK \"StringFileInfo\"\n"
                " BEGIN\n  BLOCK \"041904e3\"\n  BEGIN\n   VALUE \"FileDescription\", \""
                "\xCF\xE5\xF7\xE0\xF2\xFC"
                "\\0\"\n  END\n END\nEND\n");
  EXPECT_EQ(cli({"version", v, "V"}).out, "041904e3\tFileDescription\tПечать\\0\n");
  EXPECT_EQ(cli({"version-set", v, "V", "FileDescription", "Окно"}).code, 0);
  EXPECT_NE(TempDir::read(v).find("\"\xCE\xEA\xED\xEE\\0\""), std::string::npos);
}

// Under "#pragma code_page(932)" texts are read and written in two-byte Japanese; a character
// whose second byte is a backslash would begin an escape, and is refused.
TEST(CliCodePage, JapaneseCaptionsAndStrings) {
  TempDir dir;
  const auto f = dir.write("j.rc",
                           "#pragma code_page(932)\nSTRINGTABLE\n{\n 1 \"\x88\xF3\x8D\xFC\"\n}\n"
                           "D DIALOG 0, 0, 100, 50\nCAPTION \"\x91\x8B\"\n{\n}\n");
  EXPECT_EQ(cli({"strings", f}).out, "\t1\t印刷\n");
  EXPECT_NE(cli({"dialog-props", f, "D"}).out.find("Titolo:\t窓\n"), std::string::npos);
  const CliRun caption = cli({"dialog-props", f, "D", "--caption", "印刷"});
  EXPECT_EQ(caption.code, 0) << caption.err;
  EXPECT_EQ(cli({"string-set", f, "1", "窓"}).code, 0);
  const std::string after = TempDir::read(f);
  EXPECT_NE(after.find("CAPTION \"\x88\xF3\x8D\xFC\"\n"), std::string::npos);
  EXPECT_NE(after.find(" 1 \"\x91\x8B\"\n"), std::string::npos);
  EXPECT_EQ(cli({"dialog-props", f, "D", "--caption", "表"}).err, "Titolo: Campo non valido.\n");
  EXPECT_EQ(cli({"string-set", f, "1", "表"}).err,
            "Il carattere 表 non si può scrivere tra virgolette nella code page 932 dello "
            "script.\n");
  EXPECT_EQ(TempDir::read(f), after);
}

TEST(CliVersion, PrintsFieldsAndValuesAndSetsOneValueOfOneBlock) {
  TempDir dir;
  const std::string head =
      "V VERSIONINFO\n FILEVERSION 1,2,3,4\n FILEOS 0x4L\nBEGIN\n BLOCK \"StringFileInfo\"\n"
      " BEGIN\n  BLOCK \"040904b0\"\n  BEGIN\n   VALUE \"FileVersion\", \"1.2\\0\"\n  END\n";
  const std::string tail =
      " END\n BLOCK \"VarFileInfo\"\n BEGIN\n  VALUE \"Translation\", 0x409, 1200\n END\nEND\n";
  const auto f = dir.write("v.rc", head + tail);
  const CliRun shown = cli({"version", f, "V"});
  EXPECT_EQ(shown.code, 0);
  EXPECT_EQ(shown.out,
            "FILEVERSION\t1,2,3,4\nFILEOS\t0x4L\n040904b0\tFileVersion\t1.2\\0\n"
            "VarFileInfo\tTranslation\t0x409, 1200\n");
  EXPECT_EQ(cli({"version-set", f, "V", "FileVersion", "1.3"}).code, 0);
  EXPECT_EQ(cli({"version-set", f, "V", "Comments", "nuovo"}).code, 0);
  std::string expected = head + tail;
  expected.replace(expected.find("1.2\\0"), 5, "1.3\\0");
  expected.insert(expected.find("  END\n"), "   VALUE \"Comments\", \"nuovo\"\n");
  EXPECT_EQ(TempDir::read(f), expected);
  // With two blocks the block must be named.
  const auto two = dir.write(
      "two.rc",
      head + "  BLOCK \"041004b0\"\n  BEGIN\n   VALUE \"FileVersion\", \"1\"\n  END\n" + tail);
  const CliRun refused = cli({"version-set", two, "V", "FileVersion", "2"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.err,
            "Più blocchi in StringFileInfo: indicarne uno con --lang (040904b0, 041004b0).\n");
  EXPECT_EQ(cli({"version-set", two, "V", "FileVersion", "2", "--lang", "041004B0"}).code, 0);
  EXPECT_NE(TempDir::read(two).find("VALUE \"FileVersion\", \"2\"\n"), std::string::npos);
  // A block is named by its language too.
  EXPECT_EQ(cli({"version-set", two, "V", "FileVersion", "1.4", "--lang", "en-US"}).code, 0);
  EXPECT_NE(TempDir::read(two).find("VALUE \"FileVersion\", \"1.4\\0\"\n"), std::string::npos);
  EXPECT_EQ(cli({"version-set", two, "V", "FileVersion", "2", "--lang", "0407"}).err,
            "Blocco 0407 non trovato (040904b0, 041004b0).\n");
  EXPECT_EQ(cli({"version", f, "W"}).code, 1);
  // Why a body does not read, in the words of the message, whatever the script's code page.
  const auto open = dir.write("open.rc", "V VERSIONINFO\nBEGIN\n BLOCK \"a\"\n");
  const CliRun unread = cli({"version", open, "V"});
  EXPECT_EQ(unread.code, 1);
  EXPECT_EQ(unread.err, "La risorsa non è chiusa da END o }.\n");
}

// A key in capitals that names a fixed field sets that field; "FileVersion" stays a value.
TEST(CliVersion, AFixedFieldKeySetsTheField) {
  TempDir dir;
  const std::string text =
      "V VERSIONINFO\n FILEVERSION 1, 2, 3, 4\n FILEFLAGS VS_FF_DEBUG\n"
      "#ifdef _DEBUG\n FILEOS 0x4L\n#else\n FILEOS 0x40004L\n#endif\nBEGIN\n"
      " BLOCK \"StringFileInfo\"\n BEGIN\n  BLOCK \"040904b0\"\n  BEGIN\n"
      "   VALUE \"FileVersion\", \"1.2\"\n  END\n END\nEND\n";
  const auto f = dir.write("v.rc", text);
  EXPECT_EQ(cli({"version-set", f, "V", "FILEVERSION", "1.2.30.4"}).code, 0);
  EXPECT_EQ(cli({"version-set", f, "V", "FILEFLAGS", "3"}).code, 0);
  std::string expected = text;
  expected.replace(expected.find("3, 4"), 4, "30, 4");
  expected.replace(expected.find("VS_FF_DEBUG"), 11, "VS_FF_DEBUG | VS_FF_PRERELEASE");
  EXPECT_EQ(TempDir::read(f), expected);
  // Each branch's field to itself changes nothing; another value says where to change it.
  EXPECT_EQ(cli({"version-set", f, "V", "FILEOS", "0x4L"}).code, 0);
  EXPECT_EQ(cli({"version-set", f, "V", "FILEOS", "VOS_NT_WINDOWS32"}).code, 0);
  const CliRun twice = cli({"version-set", f, "V", "FILEOS", "0"});
  EXPECT_EQ(twice.code, 1);
  EXPECT_EQ(twice.err,
            "FILEOS è scritto più volte (righe 5, 7): si modifica dal pannello della "
            "risorsa.\n");
  EXPECT_EQ(cli({"version-set", f, "V", "FILETYPE", "1"}).err,
            "La risorsa non ha il campo FILETYPE.\n");
  EXPECT_EQ(cli({"version-set", f, "V", "FILEVERSION", "1.2"}).err,
            "FILEVERSION vuole quattro numeri da 0 a 65535 (1.0.0.1 o 1, 0, 0, 1): 1.2.\n");
  EXPECT_EQ(TempDir::read(f), expected);
  EXPECT_EQ(cli({"version-set", f, "V", "FileVersion", "1.3"}).code, 0);
  EXPECT_NE(TempDir::read(f).find("\"FileVersion\", \"1.3\""), std::string::npos);
}

}  // namespace
}  // namespace kolvre
