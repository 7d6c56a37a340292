// kolvre-cli find: its lines, its JSON and its exit codes.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::TempDir;

using testing::cli;
using testing::CliRun;

// The IDs' values come from the header the script includes from its folder.
constexpr const char* kHeader = "#define IDC_SAVE 1001\n#define IDS_SAVED 7\n";
constexpr const char* kScript =
    "#include \"resource.h\"\n"
    "LANGUAGE LANG_ITALIAN, SUBLANG_DEFAULT\n"
    "DLG_SALVA DIALOG 0, 0, 100, 50\n"
    "CAPTION \"Salva\tcome\"\n"
    "{\n"
    "  PUSHBUTTON \"&Salva\", IDC_SAVE, 5, 5, 40, 14\n"
    "}\n"
    "STRINGTABLE\n"
    "{\n"
    "  IDS_SAVED, \"File salvato.\"\n"
    "}\n";

TEST(CliFind, OneMatchALineAndTheExitCodes) {
  TempDir dir;
  dir.write("resource.h", kHeader);
  const std::string script = dir.write("app.rc", kScript);
  const CliRun run = cli({"find", script, "SALV"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.err, "");
  // The tab of the caption would split the line: a blank.
  EXPECT_EQ(run.out,
            "D DLG_SALVA\tnome\tDLG_SALVA\n"
            "D DLG_SALVA\ttitolo\tSalva come\n"
            "D DLG_SALVA\tcontrollo IDC_SAVE\t&Salva\n"
            "S IDS_SAVED\tstringa IDS_SAVED\tFile salvato.\n");
  // A number finds the IDs of that value, through the header's symbols.
  EXPECT_EQ(cli({"find", script, "0x3e9"}).out,
            "D DLG_SALVA\tcontrollo IDC_SAVE\tIDC_SAVE = 1001\n");
  EXPECT_EQ(cli({"find", script, "7"}).out, "S IDS_SAVED\tstringa IDS_SAVED\tIDS_SAVED = 7\n");
  const CliRun none = cli({"find", script, "aprire"});
  EXPECT_EQ(none.code, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, "");
  for (const std::vector<std::string>& wrong : {std::vector<std::string>{"find", script},
                                                {"find", script, ""},
                                                {"find", script, "a", "b"}}) {
    const CliRun usage = cli(wrong);
    EXPECT_EQ(usage.code, 2);
    EXPECT_NE(usage.err.find("find FILE TESTO"), std::string::npos);
  }
  const CliRun missing = cli({"find", dir.file("none.rc"), "a"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err, "");
}

TEST(CliFind, JsonWithLanguageLineOffsetAndTheMatchInTheText) {
  TempDir dir;
  dir.write("resource.h", kHeader);
  const std::string script = dir.write("app.rc", kScript);
  const std::string text = kScript;
  const std::size_t literal = text.find("\"File salvato.\"");
  const CliRun run = cli({"find", script, "salvato", "--json"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out,
            "[\n  {\"type\": \"S\", \"resource\": \"IDS_SAVED\", \"language\": \"it\", "
            "\"place\": \"stringa IDS_SAVED\", \"line\": 10, \"offset\": " +
                std::to_string(literal + 9) +  // the script is held with CR LF
                ", \"text\": \"File salvato.\", \"match\": [5, 12]}\n]\n");
  EXPECT_EQ(cli({"find", "--json", script, "nulla"}).out, "[]\n");
}

TEST(CliFind, AUtf16ScriptIsSearchedAsItsCharacters) {
  TempDir dir;
  // "Città" in UTF-16 little-endian with its byte-order mark.
  std::string utf16 = "\xff\xfe";
  for (const char c : std::string("M MENU { MENUITEM \"Citt\xe0\", 1 }\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  const std::string script = dir.write("wide.rc", utf16);
  EXPECT_EQ(cli({"find", script, "CITTÀ"}).out, "M M\tvoce Città\tCittà\n");
}

}  // namespace
}  // namespace kolvre
