#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "dialogs/class_names.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "support/temp_dir.h"
#include "syntax/symbols.h"

namespace kolvre {
namespace {

SymbolTable defines(std::string_view text) {
  SymbolTable table;
  readDefines(text, table);
  return table;
}

std::optional<std::int32_t> valueOf(std::string_view text, const SymbolTable* table = nullptr) {
  const Evaluation e = evaluate(text, table);
  if (!e.value) return std::nullopt;
  return static_cast<std::int32_t>(*e.value);
}

TEST(SymbolsTest, ExpressionsFollowThePrecedenceOfTheCompiler) {
  EXPECT_EQ(valueOf("2 + 3 * 4"), 14);
  EXPECT_EQ(valueOf("(2 + 3) * 4"), 20);
  EXPECT_EQ(valueOf("1 | 2 & 3"), 3);   // & before |
  EXPECT_EQ(valueOf("10 - 4 - 3"), 3);  // left to right
  // The precedence of C, as windres reads them (llvm-rc reads these left to right: 5 and 3).
  EXPECT_EQ(valueOf("1 + 2 | 4 & 5"), 7);
  EXPECT_EQ(valueOf("6 & 3 + 1"), 4);
  EXPECT_EQ(valueOf("- -5 + ~0"), 4);
  EXPECT_EQ(valueOf("--5"), 5);
  EXPECT_EQ(valueOf("1 /* one */ + // two\r\n 2"), 3);  // comments are blanks
  EXPECT_EQ(valueOf("0xFFFFFFFF + 2"), 1);              // 32 bits, wrapping
  EXPECT_EQ(valueOf("4294967296 + 5"), 5);              // a number past 32 bits keeps its low bits
  // Neither compiler takes a unary + or !, nor a shift.
  for (std::string_view bad :
       {"", "1 +", "(1", "1)", "\"text\"", "1, 2", "2 NOT 1", "1 2", "+5", "!0", "1 << 2", "#1"})
    EXPECT_EQ(valueOf(bad), std::nullopt) << bad;
  EXPECT_EQ(valueOf(std::string(5000, '(') + "1" + std::string(5000, ')')), std::nullopt);
}

TEST(SymbolsTest, NumbersReadAsBothCompilersReadThem) {
  // A leading zero makes a number octal, for windres and llvm-rc alike.
  EXPECT_EQ(valueOf("010"), 8);
  EXPECT_EQ(valueOf("077"), 63);
  EXPECT_EQ(valueOf("00"), 0);
  EXPECT_EQ(valueOf("0o17"), 15);
  EXPECT_EQ(valueOf("0O17"), 15);  // windres; llvm-rc takes only the small o
  EXPECT_EQ(valueOf("0x1F"), 31);
  EXPECT_EQ(valueOf("0XfF"), 255);
  EXPECT_EQ(valueOf("10L + 10l"), 20);
  EXPECT_EQ(valueOf("0x10L"), 16);
  EXPECT_EQ(valueOf("0o10L"), 8);
  EXPECT_EQ(valueOf("0L"), 0);
  // Neither compiler reads these as a number (or each reads them otherwise: 0b11 is 3 to
  // llvm-rc and 713 to windres; windres warns that 8 exceeds the base and reads 08 as 8).
  for (std::string_view bad : {"10U", "10u", "10UL", "10lu", "10LL", "08", "09", "0x", "0o", "0xL",
                               "0b11", "1e2", "12AB", "0x1G", "10 L"})
    EXPECT_EQ(valueOf(bad), std::nullopt) << bad;
}

TEST(SymbolsTest, ANumberTypedWholeMustFitIn32Bits) {
  EXPECT_EQ(compilerNumber("0xFFFFFFFF", false), 0xFFFFFFFFu);
  EXPECT_EQ(compilerNumber("4294967295", false), 0xFFFFFFFFu);
  EXPECT_EQ(compilerNumber("037777777777", false), 0xFFFFFFFFu);
  // One past: the script keeps the low bits, a typed value is refused.
  EXPECT_EQ(compilerNumber("4294967296"), 0u);
  EXPECT_EQ(compilerNumber("4294967296", false), std::nullopt);
  EXPECT_EQ(compilerNumber("0x100000000", false), std::nullopt);
  EXPECT_EQ(compilerNumber("040000000000", false), std::nullopt);
}

TEST(SymbolsTest, OrTermsSplitAtBarsOutsideStringsAndComments) {
  const auto texts = [](std::string_view text) {
    std::vector<std::string> out;
    for (const OrTerm& t : orTerms(text))
      out.push_back((t.negated ? "!" : "") + std::string(t.of(text)));
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(texts("WS_CHILD | NOT WS_VISIBLE|0x10"), (V{"WS_CHILD", "!WS_VISIBLE", "0x10"}));
  EXPECT_EQ(texts("  A /* | B */ |\r\n\tC // | D"), (V{"A", "C"}));
  EXPECT_EQ(texts("\"a|b\" | c"), (V{"\"a|b\"", "c"}));
  // NOT alone is a term of its own; NOT before more of a term negates the rest.
  EXPECT_EQ(texts("NOT | not (A + 1)"), (V{"NOT", "!(A + 1)"}));
  // Empty terms stand where they would be; a blank text is one empty term.
  EXPECT_EQ(texts("| A |"), (V{"", "A", ""}));
  EXPECT_EQ(texts(" \t"), (V{""}));
  const std::string_view text = "A ||B";
  const auto terms = orTerms(text);
  ASSERT_EQ(terms.size(), 3u);
  EXPECT_EQ(terms[1].begin, 3u);
  EXPECT_EQ(terms[1].end, 3u);
}

TEST(SymbolsTest, DivisionIsUnsignedAndLeavesTheDividendForZero) {
  // windres divides unsigned 32-bit values; a division by zero gives the dividend.
  EXPECT_EQ(valueOf("7 / 2"), 3);
  EXPECT_EQ(valueOf("8 / 2 / 2"), 2);
  EXPECT_EQ(evaluate("-7 / 2", nullptr).value, 0x7FFFFFFCu);  // -4 in a 16-bit field
  EXPECT_EQ(valueOf("-100000 / 3"), 1431622432);
  EXPECT_EQ(valueOf("7 / -2"), 0);
  EXPECT_EQ(valueOf("0x80000000 / -1"), 0);
  EXPECT_EQ(valueOf("9 / 0"), 9);
  EXPECT_EQ(valueOf("0 / 0"), 0);
}

TEST(SymbolsTest, NotTakesBitsFromTheTermsBeforeIt) {
  EXPECT_EQ(evaluate("WS_CHILD | WS_VISIBLE | NOT WS_VISIBLE | WS_BORDER", nullptr).value,
            0x40800000u);
  EXPECT_EQ(evaluate("not WS_TABSTOP", nullptr, 0x50010000).value, 0x50000000u);
  EXPECT_EQ(evaluate("ws_group", nullptr).value, 0x20000u);  // style names in any case
}

TEST(SymbolsTest, NamesAreReplacedByTheirDefinitionsAsText) {
  const SymbolTable table = defines(
      "#define m 7\r\n#define xc (2*m + 100)\r\n#define bxsDots 30\r\n"
      "#define SUM 1 + 2\r\n#define A B\r\n#define B A\r\n#define SELF SELF + 1\r\n");
  EXPECT_EQ(valueOf("xc - bxsDots - 12", &table), 72);
  EXPECT_EQ(valueOf("SUM * 3", &table), 7);  // replaced as text: 1 + 2 * 3
  const Evaluation cycle = evaluate("A + SELF", &table);
  EXPECT_EQ(cycle.value, 1u);  // a name inside its own replacement is not replaced again
  EXPECT_EQ(cycle.undefined, (std::vector<std::string>{"A", "SELF"}));
  const Evaluation missing = evaluate("IDC_FOO + IDC_FOO + IDC_BAR + 5", &table);
  EXPECT_EQ(missing.value, 5u);
  EXPECT_EQ(missing.undefined, (std::vector<std::string>{"IDC_FOO", "IDC_BAR"}));
  EXPECT_EQ(undefinedSymbolsNotice({"IDC_FOO"}), "Simbolo non definito: IDC_FOO.");
  EXPECT_EQ(undefinedSymbolsNotice({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}),
            "Simboli non definiti: A, B, C, D, E, F, G, H e altri 2.");
  EXPECT_EQ(valueOf("IDC_STATIC + IDCANCEL", &table), 1);  // the system's ids without a header
  // A doubling definition chain stops at the bound instead of growing without end.
  std::string chain;
  for (int i = 0; i < 40; ++i)
    chain += "#define D" + std::to_string(i) + " D" + std::to_string(i + 1) + "+D" +
             std::to_string(i + 1) + "\r\n";
  const SymbolTable doubling = defines(chain);
  EXPECT_EQ(valueOf("D0", &doubling), std::nullopt);
}

TEST(SymbolsTest, TheDefineReaderTakesObjectMacrosWithTheirCommentsAndContinuations) {
  const SymbolTable table = defines(
      "#define WIDTH  200 // the width\r\n"
      "  #  define HEIGHT /* tall */ 100 \\\r\n   + 20\r\n"
      "#define MAX(a, b) ((a) > (b) ? (a) : (b))\r\n"
      "#define SPACED (1)\r\n"
      "/*\r\n#define HIDDEN 1\r\n*/\r\n"
      "#define TEXT \"a // b\"\r\n"
      "#define TWICE 1\r\n#define TWICE 2\r\n"
      "#define GONE 3\r\n#undef GONE\r\n"
      "#define EMPTY\r\n"
      "#define LF 4\n#define AFTERLF 5\n");
  EXPECT_EQ(*table.find("WIDTH"), "200");
  EXPECT_EQ(valueOf("HEIGHT", &table), 120);
  EXPECT_EQ(table.find("MAX"), nullptr);
  EXPECT_EQ(*table.find("SPACED"), "(1)");
  EXPECT_EQ(table.find("HIDDEN"), nullptr);
  EXPECT_EQ(*table.find("TEXT"), "\"a // b\"");
  EXPECT_EQ(*table.find("TWICE"), "2");  // the last definition, as after a redefinition
  EXPECT_EQ(table.find("GONE"), nullptr);
  EXPECT_EQ(*table.find("EMPTY"), "");
  EXPECT_EQ(valueOf("LF + AFTERLF", &table), 9);
}

TEST(SymbolsTest, DefinesAreThePreprocessorLinesOfTheStatements) {
  const SymbolTable table = defines(
      "// #define IN_LINE_COMMENT 1\r\n"
      "STRINGTABLE\r\nBEGIN\r\n  1, \"two \\\r\n#define IN_STRING 1\r\nlines\"\r\n"
      "  2, \"open\r\n#define AFTER_OPEN 5\r\n"
      "#define IN_BODY 3\r\nEND\r\n"
      "D DIALOGEX 0, 0, 10, 10\r\nBEGIN\r\n#define IN_DIALOG 4\r\n"
      "  LTEXT \"#define IN_TEXT 1\", -1, 0, 0, 1, 1\r\nEND\r\n"
      "#define QUOTED \"a\\\"b\" // an escaped quote ends no string\r\n"
      "#define LONG (1 | \\\r\n   2)\r\n"
      "#define CUT 1\\\r\n0\r\n"
      "#define COMMENTS 1/* one */+/* over\r\n lines */2 // end\r\n"
      "#define TABS\t(1\t| 2)\r\n"
      "#define CALL(a) (a)\r\n#define CALL_SPACED (a)\r\n#define CALL_COMMENT/**/(a)\r\n"
      "#define 9LIVES 9\r\n#define\r\n#undef\r\n#undef \"IN_BODY\"\r\n");
  for (std::string_view hidden : {"IN_LINE_COMMENT", "IN_STRING", "IN_TEXT", "CALL", "9LIVES"})
    EXPECT_EQ(table.find(hidden), nullptr) << hidden;
  EXPECT_EQ(valueOf("IN_BODY + IN_DIALOG", &table), 7);
  // A string left open ends with its line: the next line is a preprocessor line again.
  EXPECT_EQ(valueOf("AFTER_OPEN", &table), 5);
  EXPECT_EQ(*table.find("QUOTED"), "\"a\\\"b\"");
  EXPECT_EQ(*table.find("LONG"), "(1 |    2)");  // one define over the continued line
  EXPECT_EQ(*table.find("CUT"), "10");           // a word cut by a continuation is one word
  EXPECT_EQ(*table.find("COMMENTS"), "1 + 2");
  EXPECT_EQ(*table.find("TABS"), "(1\t| 2)");
  EXPECT_EQ(*table.find("CALL_SPACED"), "(a)");
  EXPECT_EQ(*table.find("CALL_COMMENT"), "(a)");  // a comment before "(" leaves no parameters
  EXPECT_EQ(table.size(), 10u);
}

TEST(SymbolsTest, QuotedIncludesAreReadOnceFromTheScriptsFolder) {
  std::map<std::string, std::string> files{
      {"resource.h", "#include \"res/ids.h\"\n#include <windows.h>\n#define IDC_OK 1\n"},
      {"res/ids.h",
       "#include \"../resource.h\"\r\n#include \"more.h\"\r\n#define IDC_BASE 100\r\n"},
      {"res/more.h", "#define IDC_MORE (IDC_BASE + 5)\n"},
      {"windows.h", "#define FROM_ANGLE 1\n"},
      {"res/escaped.h", "#define FROM_ESCAPED 1\n"},
      {"res/plain.h", "#define FROM_PLAIN 1\n"},
      {"HEADER", "#define FROM_MACRO 1\n"},
      {"commented.h", "#define FROM_COMMENT 1\n"},
  };
  std::vector<std::string> asked;
  SymbolTable table;
  readDefines(
      "#include \"resource.h\"\r\n#include \"RESOURCE.H\"\r\n#define IDC_OK 2\r\n"
      "#include \"res\\\\escaped.h\"\r\n#include \"res\\plain.h\" // \"windows.h\"\r\n"
      "#define HEADER \"windows.h\"\r\n#include HEADER\r\n"
      "/* #include \"commented.h\" */\r\n",
      table, [&](const std::string& path) -> std::optional<std::string> {
        asked.push_back(path);
        const auto found = files.find(path);
        if (found == files.end()) return std::nullopt;
        return found->second;
      });
  EXPECT_EQ(asked, (std::vector<std::string>{"resource.h", "res/ids.h", "res/more.h", "RESOURCE.H",
                                             "res/escaped.h", "res/plain.h"}));
  EXPECT_NE(table.find("FROM_ESCAPED"), nullptr);  // a doubled backslash is one
  EXPECT_EQ(valueOf("IDC_MORE", &table), 105);
  EXPECT_EQ(*table.find("IDC_OK"), "2");  // the script's own line comes after the include
  EXPECT_EQ(table.find("FROM_ANGLE"), nullptr);

  // From disk: the folder of the script's file.
  testing::TempDir dir;
  dir.write("resource.h", "#define IDD_MAIN 101\r\n");
  const SymbolTable onDisk =
      scriptSymbols("#include \"resource.h\"\r\n#include \"absent.h\"\r\n", dir.path() / "app.rc");
  EXPECT_EQ(valueOf("IDD_MAIN", &onDisk), 101);
  EXPECT_EQ(scriptSymbols("#include \"resource.h\"\r\n", {}).size(), 0u);
}

TEST(SymbolsTest, TheKeptSymbolsFollowEditedHeaders) {
  testing::TempDir dir;
  dir.write("resource.h", "#define IDD_MAIN 101\r\n");
  const std::string script = (dir.path() / "app.rc").string();
  const std::string text = "#include \"resource.h\"\r\n#include \"later.h\"\r\n";
  const auto valueIn = [](const std::shared_ptr<const SymbolTable>& table, std::string_view name) {
    return valueOf(name, table.get());
  };
  const auto first = cachedScriptSymbols(text, script);
  EXPECT_EQ(valueIn(first, "IDD_MAIN"), 101);
  EXPECT_EQ(cachedScriptSymbols(text, script), first);  // nothing changed: the same table

  dir.write("resource.h", "#define IDD_MAIN 1001\r\n");  // another size
  EXPECT_EQ(valueIn(cachedScriptSymbols(text, script), "IDD_MAIN"), 1001);

  // The same size, written later.
  const auto written = std::filesystem::last_write_time(dir.file("resource.h"));
  dir.write("resource.h", "#define IDD_MAIN 1002\r\n");
  std::filesystem::last_write_time(dir.file("resource.h"), written + std::chrono::seconds(5));
  EXPECT_EQ(valueIn(cachedScriptSymbols(text, script), "IDD_MAIN"), 1002);

  // A header missing before, there now.
  dir.write("later.h", "#define IDC_LATER 7\r\n");
  EXPECT_EQ(valueIn(cachedScriptSymbols(text, script), "IDC_LATER"), 7);
  std::filesystem::remove(dir.file("later.h"));
  EXPECT_EQ(valueIn(cachedScriptSymbols(text, script), "IDC_LATER"), 0);
}

TEST(SymbolsTest, ClassFieldsNameTheirClass) {
  const SymbolTable table = defines("#define MYCLASS \"Mine\"\r\n#define MYBUTTON WC_BUTTON\r\n");
  EXPECT_EQ(namedClass("WC_BUTTON"), "Button");
  EXPECT_EQ(namedClass(" PROGRESS_CLASS "), "msctls_progress32");
  EXPECT_EQ(namedClass("WC_LISTVIEWW"), "SysListView32");
  EXPECT_EQ(namedClass("RICHEDIT_CLASSW"), "RichEdit20W");
  EXPECT_EQ(namedClass("\"Edit\""), "Edit");
  EXPECT_EQ(namedClass("130"), "Static");
  EXPECT_EQ(namedClass("0x85"), "ComboBox");
  EXPECT_EQ(namedClass("0x86"), "0x86");
  EXPECT_EQ(namedClass("MyClass"), "MyClass");
  EXPECT_EQ(namedClass("MYCLASS", &table), "Mine");
  EXPECT_EQ(namedClass("MYBUTTON", &table), "Button");
}

TEST(SymbolsTest, ADialogWrittenWithSymbolsReadsTheirValuesAndKeepsTheirText) {
  const SymbolTable table = defines(
      "#define m 7\r\n#define xc 200\r\n#define bxsDots 30\r\n#define IDC_GO 1001\r\n"
      "#define MYSTYLE (WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX)\r\n");
  const std::string block =
      "D DIALOGEX 0, 0, xc, 100\r\n"
      "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | MY_MISSING\r\n"
      "BEGIN\r\n"
      "    CONTROL \"Go\", IDC_GO, WC_BUTTON, MYSTYLE, m, m, xc - bxsDots - 12, 14\r\n"
      "    PUSHBUTTON \"Ok\", IDOK, xc - m - 50, 80, 50, 14, IDC_NOWHERE\r\n"
      "END\r\n";
  const DialogReading r = readDialog(block, DialogMode::Designer, &table);
  ASSERT_EQ(r.failure, DialogFailure::None);
  ASSERT_EQ(r.dialog.controls.size(), 2u);
  EXPECT_EQ(r.notices,
            (std::vector<std::string>{"Simboli non definiti: MY_MISSING, IDC_NOWHERE."}));
  EXPECT_EQ(r.dialog.styleAsRead, 0x80C00080u);
  EXPECT_EQ(r.dialog.rect, placeDialog({0, 0, 200, 100}, kFixedBaseUnits, r.dialog.styleAsRead,
                                       DialogMode::Designer));
  const DialogControl& go = r.dialog.controls[0];
  EXPECT_EQ(go.live, ControlClass::CheckBox);  // the class macro, and the style of its symbol
  EXPECT_EQ(go.id, 1001);
  EXPECT_EQ(go.rect, toPixels(DialogUnitRect{7, 7, 158, 14}, kFixedBaseUnits));
  EXPECT_EQ(r.dialog.controls[1].id, 1);
  EXPECT_EQ(r.dialog.controls[1].rect, toPixels(DialogUnitRect{143, 80, 50, 14}, kFixedBaseUnits));

  // Stored unchanged, every name stays; a control moved gets a number for x alone.
  const std::string unchanged = dialogBlock(r.dialog, "D");
  for (std::string_view kept :
       {"0, 0, xc, 100", "IDC_GO, WC_BUTTON, MYSTYLE, m, m, xc - bxsDots - 12", "xc - m - 50",
        "MY_MISSING"})
    EXPECT_NE(unchanged.find(kept), std::string::npos) << kept << "\n" << unchanged;
  DialogModel moved = r.dialog;
  moved.controls[0].rect = toPixels(DialogUnitRect{10, 7, 158, 14}, kFixedBaseUnits);
  const std::string written = dialogBlock(moved, "D");
  EXPECT_NE(written.find("MYSTYLE, 10, m, xc - bxsDots - 12, 14"), std::string::npos) << written;

  // Without the table each name reads as 0 in its expression.
  const DialogReading plain = readDialog(block);
  EXPECT_EQ(plain.dialog.controls[0].rect,
            toPixels(DialogUnitRect{0, 0, -12, 14}, kFixedBaseUnits));
}

}  // namespace
}  // namespace kolvre
