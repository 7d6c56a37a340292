// kolvre-cli check: its exit codes, its line and its JSON, and the text measure asked for only
// by it.
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

constexpr const char* kTwiceInAMenu =
    "LANGUAGE LANG_ITALIAN, SUBLANG_DEFAULT\n\nM MENU\n{\n MENUITEM \"Say \"\"hi\"\"\", 1\n"
    " MENUITEM \"B\", 1\n}\n";

TEST(CliCheck, ExitCodesAndOneFindingALine) {
  TempDir dir;
  const std::string clean = dir.write("clean.rc", "M MENU { MENUITEM \"A\", 1 }\n");
  const std::string faulty = dir.write("faulty.rc", kTwiceInAMenu);
  const CliRun none = cli({"check", clean});
  EXPECT_EQ(none.code, 0);
  EXPECT_EQ(none.out, "");
  const CliRun some = cli({"check", clean, faulty});
  EXPECT_EQ(some.code, 1);
  EXPECT_EQ(some.out, faulty +
                          "\t3\tM M\tit\t1\tvoce-doppia\tID 1 già usato dalla voce \"Say "
                          "\"hi\"\" alla riga 5.\n");
  // A file that does not read: told on standard error, the others checked all the same.
  const CliRun unread = cli({"check", dir.file("none.rc"), faulty});
  EXPECT_EQ(unread.code, 2);
  EXPECT_EQ(unread.err, "Impossibile trovare il file " + dir.file("none.rc") + ".\n");
  EXPECT_EQ(unread.out, some.out);
  EXPECT_EQ(cli({"check", dir.path().string()}).code, 2);
  const CliRun usage = cli({"check", "--json"});
  EXPECT_EQ(usage.code, 2);
  EXPECT_NE(usage.err.find("uso:"), std::string::npos);
}

TEST(CliCheck, JsonEscapesQuotesBackslashesAndControlCharacters) {
  TempDir dir;
  const std::string clean = dir.write("clean.rc", "\n");
  EXPECT_EQ(cli({"check", clean, "--json"}).out, "[]\n");
  const std::string faulty =
      dir.write("a\tb\x01.rc", std::string(kTwiceInAMenu) + "B BITMAP \"res\\\\x.bmp\"\n");
  const CliRun run = cli({"check", "--json", faulty});
  EXPECT_EQ(run.code, 1);
  const std::string file = dir.file("a\\tb\\u0001.rc");
  EXPECT_EQ(run.out,
            "[\n  {\"file\": \"" + file +
                "\", \"line\": 3, \"type\": \"M\", \"resource\": \"M\", \"language\": \"it\", "
                "\"control\": \"1\", \"rule\": \"voce-doppia\", \"severity\": \"errore\", "
                "\"message\": \"ID 1 già usato dalla voce \\\"Say \\\"hi\\\"\\\" alla riga 5.\"},\n"
                "  {\"file\": \"" +
                file +
                "\", \"line\": 8, \"type\": \"B\", \"resource\": \"B\", \"language\": \"it\", "
                "\"control\": null, \"rule\": \"file-mancante\", \"severity\": \"errore\", "
                "\"message\": \"File non trovato: res\\\\x.bmp.\"}\n]\n");
  // In a line, a tab of a field would split it.
  EXPECT_TRUE(cli({"check", faulty}).out.starts_with(dir.file("a b\x01.rc") + "\t3\t"));
}

// A menu item's text in the message is UTF-8 whatever the script's form: Windows-1252 bytes, or
// UTF-16 read as UTF-8.
TEST(CliCheck, MessagesAreUtf8FromEitherForm) {
  TempDir dir;
  const std::string latin1 = "M MENU { MENUITEM \"\xE8\", 1\r\n MENUITEM \"B\", 1 }\r\n";
  std::string wide = "\xFF\xFE";
  for (const char ch : latin1) wide += std::string{ch, '\0'};
  for (const std::string& bytes : {latin1, wide}) {
    const CliRun run = cli({"check", dir.write("a.rc", bytes)});
    EXPECT_NE(run.out.find("voce \"\xC3\xA8\" alla riga 1."), std::string::npos) << run.out;
  }
}

TEST(CliCheck, OnlyCheckAsksForTheMeasure) {
  TempDir dir;
  const std::string script = dir.write("a.rc", "M MENU { MENUITEM \"A\", 1 }\n");
  int asked = 0;
  const MeasureSource measure = [&]() -> const FontMeasure* {
    ++asked;
    return nullptr;
  };
  EXPECT_EQ(cli({"list", script}, {}, measure).code, 0);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(cli({"check", script}, {}, measure).code, 0);
  EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace kolvre
