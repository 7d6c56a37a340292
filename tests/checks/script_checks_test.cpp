// The script rules: for each, the smallest script that breaks it and those that almost do.
#include "checks/checks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/crlf.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::TempDir;

struct RuleCase {
  const char* what;
  const char* script;  // LF line ends, made CR LF as the document holds them
  // Each finding as "rule control: message" (no control: "rule: message"), one a line.
  const char* found;
};

using testing::crlf;

std::string described(const std::vector<Finding>& findings) {
  std::string out;
  for (const Finding& f : findings) {
    out += std::string(ruleInfo(f.rule).word) + (f.control.empty() ? "" : " " + f.control) + ": " +
           f.message + "\n";
  }
  return out;
}

// The cases run on a script in a folder that holds res/logo.bmp and nothing else.
void expectCases(const std::vector<RuleCase>& cases) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "res");
  dir.write("res/logo.bmp", "BM");
  for (const RuleCase& c : cases) {
    const std::string script = dir.write("a.rc", crlf(c.script));
    EXPECT_EQ(described(checkScript(crlf(c.script), script, nullptr)), c.found) << c.what;
  }
}

TEST(ScriptChecks, StringsDefinedTwiceInOneLanguage) {
  expectCases({
      {"by value, across tables",
       "#define IDS_A 101\nSTRINGTABLE\n{\n IDS_A \"a\"\n}\nSTRINGTABLE\n{\n 101 \"b\"\n}\n",
       "stringa-doppia 101: Stringa 101 già definita alla riga 4 (tabella IDS_A).\n"},
      {"in one table, the symbol unknown",
       "STRINGTABLE\n{\n IDS_X \"a\"\n IDS_Y \"b\"\n IDS_X \"c\"\n}\n",
       "stringa-doppia IDS_X: Stringa IDS_X già definita alla riga 3 di questa tabella.\n"},
      {"with its value", "#define IDS_A 7\nSTRINGTABLE { 7 \"a\" IDS_A \"b\" }\n",
       "stringa-doppia IDS_A: Stringa IDS_A (7) già definita alla riga 2 di questa tabella.\n"},
      {"two languages",
       "LANGUAGE LANG_ITALIAN, SUBLANG_DEFAULT\nSTRINGTABLE { 1 \"a\" }\n"
       "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\nSTRINGTABLE { 1 \"a\" }\n",
       ""},
      {"branches of one section",
       "#ifdef X\nSTRINGTABLE { 1 \"a\" }\n#elif Y\nSTRINGTABLE { 1 \"b\" }\n#else\n"
       "STRINGTABLE { 1 \"c\" }\n#endif\n",
       ""},
      {"branches inside one table",
       "STRINGTABLE\n{\n#ifdef X\n 1 \"a\"\n#else\n 1 \"b\"\n#endif\n}\n", ""},
      {"two sections one after the other, conditions that cannot be judged",
       "#if X\nSTRINGTABLE { 1 \"a\" }\n#endif\n#if Y\nSTRINGTABLE { 1 \"b\" }\n#endif\n",
       "stringa-doppia 1: Stringa 1 già definita alla riga 2 (tabella 1).\n"},
      {"one never compiled", "#if 0\nSTRINGTABLE { 1 \"a\" }\n#endif\nSTRINGTABLE { 1 \"b\" }\n",
       ""},
      {"one never compiled, the condition with a comment and a continuation",
       "#if /* old */ \\\n 0\nSTRINGTABLE { 1 \"a\" }\n#endif\nSTRINGTABLE { 1 \"b\" }\n", ""},
      {"an #elif chain inside one table, a nested section in a branch",
       "STRINGTABLE\n{\n#if A\n 1 \"a\"\n#elif B\n#ifdef C\n 1 \"b\"\n#endif\n#else\n 1 \"c\"\n"
       "#endif\n 1 \"d\"\n}\n",
       "stringa-doppia 1: Stringa 1 già definita alla riga 4 di questa tabella.\n"},
  });
}

TEST(ScriptChecks, FilesNamedThatAreMissing) {
  expectCases({
      {"a bitmap", "B BITMAP \"res\\\\nologo.bmp\"\n",
       "file-mancante: File non trovato: res\\nologo.bmp.\n"},
      {"other kinds, quoted or not", "R RCDATA data.bin\n1 24 \"app.manifest\"\nP PNG \"p.png\"\n",
       "file-mancante: File non trovato: data.bin.\nfile-mancante: File non trovato: "
       "app.manifest.\nfile-mancante: File non trovato: p.png.\n"},
      {"there, in another letter case", "B BITMAP \"RES\\\\Logo.BMP\"\nC BITMAP res/logo.bmp\n",
       ""},
      {"not read by the compiler, or inline",
       "X DLGINCLUDE \"missing.h\"\nI ICON\nBEGIN\n '00 00'\nEND\nR RCDATA { 1, 2 }\n", ""},
      {"never compiled", "#if 0\nB BITMAP \"gone.bmp\"\n#endif\n", ""},
  });
  // A script not read from a file names no folder to look in.
  EXPECT_TRUE(checkScript(crlf("B BITMAP \"gone.bmp\"\n"), "", nullptr).empty());
}

TEST(ScriptChecks, MenuItemIdsUsedTwiceInOneMenu) {
  expectCases({
      {"by value, across pop-ups",
       "#define ID_OPEN 5\nM MENU\n{\n POPUP \"F\"\n {\n  MENUITEM \"Apri\", ID_OPEN\n }\n"
       " MENUITEM \"Di nuovo\", 5\n}\n",
       "voce-doppia 5: ID 5 già usato dalla voce \"Apri\" alla riga 6.\n"},
      {"an unknown symbol by its name",
       "M MENUEX { MENUITEM \"A\", ID_X\n MENUITEM \"B\", ID_X }\n",
       "voce-doppia ID_X: ID ID_X già usato dalla voce \"A\" alla riga 1.\n"},
      {"separators, ID 0 and two menus",
       "M MENU {\n MENUITEM \"A\", 0\n MENUITEM SEPARATOR\n MENUITEM \"B\", 0\n"
       " MENUITEM SEPARATOR\n MENUITEM \"C\", 1\n}\nN MENU { MENUITEM \"D\", 1 }\n",
       ""},
      {"branches of one section",
       "M MENU {\n#ifdef X\n MENUITEM \"A\", 1\n#else\n MENUITEM \"B\", 1\n#endif\n}\n", ""},
  });
}

TEST(ScriptChecks, AcceleratorsWithoutAMenuItem) {
  expectCases({
      {"no item has its ID",
       "M MENU { MENUITEM \"A\", 1 }\nK ACCELERATORS { \"^A\", 1\n VK_F5, ID_RUN, VIRTKEY }\n",
       "acceleratore-senza-voce ID_RUN: Nessuna voce di menu ha l'ID ID_RUN del tasto F5.\n"},
      {"an item of another menu, by value",
       "#define ID_RUN 9\nM MENU { MENUITEM \"A\", 1 }\nN MENUEX { MENUITEM \"B\", 9 }\n"
       "K ACCELERATORS { VK_F5, ID_RUN, VIRTKEY }\n",
       ""},
      {"a script without menus", "K ACCELERATORS { VK_F5, 7, VIRTKEY }\n", ""},
  });
}

TEST(ScriptChecks, AKeyTwiceInOneAcceleratorTable) {
  expectCases({
      {"the same key and modifiers, however written",
       "#define ID_COPY 5\nK ACCELERATORS {\n \"C\", ID_COPY, VIRTKEY, CONTROL\n"
       " VK_F5, 2, VIRTKEY\n 0x43, 3, CONTROL, VIRTKEY\n}\n",
       "acceleratore-doppio 3: Tasto Ctrl+C già usato dall'acceleratore ID_COPY alla riga 3.\n"},
      {"other modifiers, another form, another table",
       "K ACCELERATORS {\n VK_F5, 1, VIRTKEY\n VK_F5, 2, VIRTKEY, SHIFT\n \"^C\", 3\n"
       " \"C\", 4, VIRTKEY, CONTROL\n}\nL ACCELERATORS { VK_F5, 1, VIRTKEY }\n",
       ""},
      {"branches that exclude each other",
       "K ACCELERATORS {\n#ifdef X\n VK_F5, 1, VIRTKEY\n#else\n VK_F5, 2, VIRTKEY\n#endif\n}\n",
       ""},
  });
}

TEST(ScriptChecks, QuotesEscapedWithABackslash) {
  expectCases({
      {"a caption and a string",
       "D DIALOG 0, 0, 10, 10\nCAPTION \"a\\\"b\"\n{\n}\nSTRINGTABLE { 1, \"x\\\"\" }\n",
       "virgolette-con-barra: Alla riga 2 un testo scrive \\\" per le virgolette: lo legge solo "
       "windres, llvm-rc lo rifiuta. Scrivere \"\".\n"
       "virgolette-con-barra: Alla riga 5 un testo scrive \\\" per le virgolette: lo legge solo "
       "windres, llvm-rc lo rifiuta. Scrivere \"\".\n"},
      {"doubled quotes, an escaped backslash before a quote, a quote in a comment",
       "D DIALOG 0, 0, 10, 10\nCAPTION \"a\"\"b\\\\\" // \\\"\n{\n}\n", ""},
      {"in branches the compiler skips, whatever their condition",
       "#ifdef UNDER_CE\nD DIALOG 0, 0, 10, 10\nCAPTION \"a\\\"b\"\n{\n}\n#endif\n"
       "#if defined(APSTUDIO_INVOKED) && RC_INVOKED\nS RCDATA { \"x\\\"\" }\n#endif\n",
       ""},
  });
}

TEST(ScriptChecks, ValuesThatMultiplyOrDivide) {
  expectCases({
      {"a string ID, a dialog's place, a menu item and inline data",
       "STRINGTABLE { 2*3, \"a\" }\nD DIALOG 4 * 2, 0, 10, 10\nSTYLE (0x10 / 2)\n{\n}\n"
       "M MENU { MENUITEM \"x\", 4/2 }\nR RCDATA { 1, 2 * 3 / 2 }\n",
       "per-o-diviso: Alla riga 1 un valore usa l'operatore *, che llvm-rc non conosce: scrivere "
       "il valore calcolato.\n"
       "per-o-diviso: Alla riga 2 un valore usa l'operatore *, che llvm-rc non conosce: scrivere "
       "il valore calcolato.\n"
       "per-o-diviso: Alla riga 3 un valore usa l'operatore /, che llvm-rc non conosce: scrivere "
       "il valore calcolato.\n"
       "per-o-diviso: Alla riga 6 un valore usa l'operatore /, che llvm-rc non conosce: scrivere "
       "il valore calcolato.\n"
       "per-o-diviso: Alla riga 7 un valore usa l'operatore *, che llvm-rc non conosce: scrivere "
       "il valore calcolato.\n"},
      {"the other operators, a file name, a comment, a string, a preprocessor line, #if 0",
       "#define X (2*3)\n#if X / 2\n#endif\nSTRINGTABLE { 1 + 2 - 1 | 4 & ~1, \"a*b/c\" // 2*3\n}\n"
       "I ICON res/logo.ico\n#if 0\nR RCDATA { 2*3 }\n#endif\nS RCDATA { 1 /* 2*3 */ }\n",
       "file-mancante: File non trovato: res/logo.ico.\n"},
  });
}

TEST(ScriptChecks, TextTheTreeCannotPlace) {
  expectCases({
      {"a line of no statement, and text past a menu item",
       "LANGUAGE 9, 1\n= no statement\nM MENU\n{\n MENUITEM \"A\", 1\n ??? 12\n}\n",
       "testo-non-riconosciuto: Riga 2: testo non riconosciuto: = no statement.\n"
       "testo-non-riconosciuto: Riga 6: testo non riconosciuto: ??? 12.\n"},
      {"a long run shows its start",
       "R RCDATA\n{\n}\n= X X X X X X X X X X X X X X X X X X X X X X X X X X X X X\n",
       "testo-non-riconosciuto: Riga 4: testo non riconosciuto: = X X X X X X X X X X X X X X X "
       "X X X X …\n"},
      {"never compiled", "#if 0\n= no statement\n#endif\n", ""},
  });
}

// A string left open ends with its line: one finding at its line, and what follows reads on.
TEST(ScriptChecks, StringsLeftOpenOnTheirLine) {
  expectCases({
      {"in a string table, the menu after it read",
       "STRINGTABLE\n{\n 1 \"open\n 2 \"b\"\n}\nM MENU { MENUITEM \"A\", 1 }\n",
       "testo-non-chiuso: Testo non chiuso alla riga 3.\n"},
      {"a wide one in a caption, and one at the end of the text",
       "D DIALOG 0, 0, 10, 10\nCAPTION L\"c\n{\n}\nR RCDATA { \"end",
       "testo-non-chiuso: Testo non chiuso alla riga 2.\n"
       "testo-non-chiuso: Testo non chiuso alla riga 5.\n"},
      {"continued with a backslash, and never compiled",
       "STRINGTABLE { 1 \"a \\\n b\" }\n#if 0\nSTRINGTABLE { 2 \"open\n}\n#endif\n", ""},
  });
}

TEST(ScriptChecks, AMissingHeaderStandsAtItsInclude) {
  TempDir dir;
  const std::string text = crlf(
      "// \"sub\\\\gone.h\"\n#include <windows.h>\n#include \"sub\\\\gone.h\"\nA ICON a.ico\n");
  const std::vector<Finding> found = checkScript(text, dir.write("a.rc", text), nullptr);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].message,
            "Intestazione non trovata: sub/gone.h; i simboli che definisce non sono controllati.");
  EXPECT_EQ(found[0].offset, text.find("#include \""));
}

// The finding names its resource and language, and the script's findings come in text order.
TEST(ScriptChecks, FindingsFrameTheirResource) {
  const std::string text = crlf(
      "LANGUAGE LANG_ITALIAN, SUBLANG_DEFAULT\nz MENU { MENUITEM \"A\", 2\n MENUITEM \"B\", "
      "2 }\nSTRINGTABLE { 3 \"a\" 3 \"b\" }\n");
  const std::vector<Finding> found = checkScript(text, "", nullptr);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].resource, ResourceKey("z", ResourceType::Menu, 0));
  EXPECT_EQ(found[0].language, "it");
  EXPECT_EQ(found[0].offset, text.find("z MENU"));
  EXPECT_EQ(found[1].resource, ResourceKey("3..3", ResourceType::StringTable, 0));
  EXPECT_FALSE(found[1].controlIndex);
}

// StringFileInfo's blocks and Translation's pairs, each without the other; a script without
// Translation, or with one that does not read, is not judged.
TEST(ScriptChecks, VersionBlocksOutOfStepWithTranslation) {
  const std::string head =
      "V VERSIONINFO\nBEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n  BLOCK \"040904b0\" { }\n"
      "  BLOCK \"041004E4\" { }\n END\n";
  expectCases({
      {"in step",
       (head + " BLOCK \"VarFileInfo\" { VALUE \"Translation\", 0x409, 1200, "
               "0x0410, 0x4e4 }\nEND\n")
           .c_str(),
       ""},
      {"a block and a pair each without the other",
       (head + " BLOCK \"VarFileInfo\" { VALUE \"Translation\", 0x409, 1200, 0x407, 1252 }\n"
               "END\n")
           .c_str(),
       "translation-disallineata: Il blocco 041004E4 di StringFileInfo manca in Translation "
       "(0x0410, 1252).\n"
       "translation-disallineata: Translation nomina 0x0407, 1252, ma StringFileInfo non ha il "
       "blocco 040704e4.\n"},
      {"no Translation", (head + "END\n").c_str(), ""},
      {"a Translation that does not read",
       (head + " BLOCK \"VarFileInfo\" { VALUE \"Translation\", LANGS }\nEND\n").c_str(), ""},
      {"a resource the compiler skips",
       ("#if 0\n" + head +
        " BLOCK \"VarFileInfo\" { VALUE \"Translation\", 0x409, 1200 }\n"
        "END\n#endif\n")
           .c_str(),
       ""},
  });
}

}  // namespace
}  // namespace kolvre
