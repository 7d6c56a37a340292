// symbols and symbol-rename: the list as printed, a rename in the script and its header, the
// failure that leaves both files, and every symbol of every corpus script renamed and back.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "document/script_file.h"
#include "support/cli_run.h"
#include "support/corpus.h"
#include "support/crlf.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::crlf;
using testing::TempDir;

using testing::cli;
using testing::CliRun;

const std::string kHeader =
    "#define IDC_NAME 100\n#define IDC_TWIN 100\n#define IDC_SPARE\t7\n#define IDD_MAIN 10\n";
const std::string kScript = crlf(
    "#include \"ids.h\"\n"
    "#define IDS_TITLE (IDC_NAME + 1) /* title */\n"
    "IDD_MAIN DIALOG 0, 0, 100, 50\n"
    "BEGIN\n"
    "  EDITTEXT IDC_NAME, 1, 1, 20, 8\n"
    "  EDITTEXT IDC_TWIN, 1, 10, 20, 8\n"
    "END\n");

TEST(CliSymbols, OneLinePerDefinitionWithItsPlaceUsesAndMarks) {
  TempDir dir;
  dir.write("ids.h", kHeader);
  const std::string script = dir.write("app.rc", kScript);
  const CliRun run = cli({"symbols", script});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "IDC_NAME\t100\tids.h:1\t2\tstesso valore di IDC_TWIN\n"
            "IDC_SPARE\t7\tids.h:3\t0\tnon usato\n"
            "IDC_TWIN\t100\tids.h:2\t1\tstesso valore di IDC_NAME\n"
            "IDD_MAIN\t10\tids.h:4\t1\t-\n"
            "IDS_TITLE\t(IDC_NAME + 1)\t" +
                script + ":2\t0\tnon usato\n");
}

TEST(CliSymbols, JsonHoldsEveryUseWithItsKind) {
  TempDir dir;
  dir.write("ids.h", kHeader);
  const std::string script = dir.write("app.rc", kScript);
  const CliRun run = cli({"symbols", script, "--json"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(
      run.out.find("{\"name\": \"IDC_NAME\", \"value\": \"100\", \"number\": 100, \"file\": "
                   "\"ids.h\", \"line\": 1, \"unused\": false, \"sameValue\": [\"IDC_TWIN\"], "
                   "\"uses\": [{\"file\": \"" +
                   script + "\", \"line\": 2, \"kind\": \"direttiva\"}, {\"file\": \"" + script +
                   "\", \"line\": 5, \"kind\": \"controllo\"}]}"),
      std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"name\": \"IDD_MAIN\""), std::string::npos);
  EXPECT_EQ(run.out.front(), '[');
  EXPECT_EQ(cli({"symbols", dir.write("empty.rc", ""), "--json"}).out, "[]\n");
  EXPECT_EQ(cli({"symbols"}).code, 2);
  EXPECT_EQ(cli({"symbols", script, "x"}).code, 2);
}

TEST(CliSymbolRename, BothFilesWrittenAndRefusalsLeaveThem) {
  TempDir dir;
  const std::string header = dir.write("ids.h", kHeader);
  const std::string script = dir.write("app.rc", kScript);
  CliRun run = cli({"symbol-rename", script, "IDC_NAME", "IDC_USER"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(TempDir::read(header),
            "#define IDC_USER 100\n#define IDC_TWIN 100\n#define IDC_SPARE\t7\n"
            "#define IDD_MAIN 10\n");
  std::string expected = kScript;
  for (std::size_t at; (at = expected.find("IDC_NAME")) != std::string::npos;)
    expected.replace(at, 8, "IDC_USER");
  EXPECT_EQ(TempDir::read(script), expected);

  run = cli({"symbol-rename", script, "IDC_USER", "IDC_TWIN"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "Il simbolo IDC_TWIN esiste già.\n");
  // A header that cannot be written: the rename is refused and neither file changes.
  std::filesystem::permissions(header, std::filesystem::perms::owner_read);
  run = cli({"symbol-rename", script, "IDC_USER", "IDC_OTHER"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("Impossibile rinominare il simbolo IDC_USER: il file " + header +
                         " non si può scrivere."),
            std::string::npos)
      << run.err;
  EXPECT_EQ(TempDir::read(script), expected);
  EXPECT_EQ(cli({"symbol-rename", script, "IDC_USER"}).code, 2);
}

// Every symbol of every corpus script renamed to a new name and back: each rename changes
// only the words of that name, and the second gives the bytes back.
TEST(SymbolRoundTrip, EveryCorpusSymbolRenamedAndBackGivesTheBytesBack) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t listed = 0, renamed = 0;
  for (const std::string& name : scripts) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    const TempDir dir;
    const std::string file = dir.write(name, read.bytes);
    const CliRun symbols = cli({"symbols", file});
    ASSERT_EQ(symbols.code, 0) << symbols.err;
    std::istringstream lines(symbols.out);
    std::string previous;
    for (std::string line; std::getline(lines, line);) {
      ++listed;
      const std::string symbol = line.substr(0, line.find('\t'));
      if (symbol == previous) continue;
      previous = symbol;
      const CliRun there = cli({"symbol-rename", file, symbol, "KOLVRE_RENAMED_SYMBOL"});
      ASSERT_EQ(there.code, 0) << symbol << ": " << there.err;
      // The new name has the old one's uses.
      const CliRun again = cli({"symbols", file});
      EXPECT_NE(again.out.find("KOLVRE_RENAMED_SYMBOL\t"), std::string::npos) << symbol;
      EXPECT_EQ(("\n" + again.out).find("\n" + symbol + "\t"), std::string::npos) << symbol;
      const CliRun back = cli({"symbol-rename", file, "KOLVRE_RENAMED_SYMBOL", symbol});
      ASSERT_EQ(back.code, 0) << symbol << ": " << back.err;
      ASSERT_TRUE(TempDir::read(file) == read.bytes) << symbol;
      ++renamed;
    }
  }
  std::cout << listed << " definitions listed, " << renamed << " symbols renamed and back\n";
}

}  // namespace
}  // namespace kolvre
