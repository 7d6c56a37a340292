// accelerator-set: one row's key and ID set from the command line, and every row of every corpus
// table set to its key and ID as accelerators prints them leaves the script's bytes as they were.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <sstream>

#include "document/script_file.h"
#include "support/cli_run.h"
#include "support/corpus.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::TempDir;

using testing::cli;
using testing::CliRun;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

TEST(CliAcceleratorSet, SetsTheKeyAndTheIdOfOneRowInItsForm) {
  TempDir dir;
  const std::string script =
      "#include <windows.h>\r\n#define IDM_OPEN 1\r\n#define IDM_SAVE 2\r\n"
      "K ACCELERATORS\r\nBEGIN\r\n  \"^O\", IDM_OPEN\r\n  VK_F5,  5,  VIRTKEY, SHIFT\r\nEND\r\n"
      "K ACCELERATORS\r\nBEGIN\r\n  \"N\", 1, VIRTKEY\r\nEND\r\n";
  const auto f = dir.write("k.rc", script);
  const CliRun both =
      cli({"accelerator-set", f, "K", "2", "--key", "Ctrl+Shift+O", "--id", "IDM_SAVE"});
  EXPECT_EQ(both.code, 0) << both.err;
  EXPECT_EQ(cli({"accelerators", f, "K"}).out,
            "Ctrl+O\tIDM_OPEN\t\nCtrl+Maiusc+O\tIDM_SAVE\tVIRTKEY SHIFT CONTROL\n");
  EXPECT_NE(TempDir::read(f).find("  \"O\",  IDM_SAVE,  VIRTKEY, CONTROL, SHIFT\r\n"),
            std::string::npos);
  EXPECT_EQ(cli({"accelerator-set", "--nth", "2", f, "K", "1", "--key", "F5"}).code, 0);
  EXPECT_NE(TempDir::read(f).find("  VK_F5, 1, VIRTKEY\r\n"), std::string::npos);

  // Refusals and faults of the command line leave the script as it is.
  const std::string before = TempDir::read(f);
  const struct {
    std::vector<std::string> args;
    int code;
    std::string_view err;
  } refused[] = {
      {{"K", "1", "--key", "Maiusc+O"},
       1,
       "Il tasto Maiusc+O non si scrive in una riga ASCII: Maiusc è nel carattere stesso (\"A\" "
       "e \"a\"), o serve una riga VIRTKEY.\n"},
      {{"K", "1", "--id", "IDM_NONE"},
       1,
       "ID non valido: IDM_NONE non è un numero né un simbolo definito.\n"},
      {{"K", "1", "--key", "Ctrl+Nulla"}, 1, "Tasto non riconosciuto: Ctrl+Nulla.\n"},
      {{"K", "3", "--key", "F1"}, 1, "La tabella K ha 2 righe.\n"},
      {{"Q", "1", "--key", "F1"}, 1, "Risorsa Q non trovata.\n"},
      {{"K", "0", "--key", "F1"}, 2, ""},
      {{"K", "1", "--key"}, 2, ""},
  };
  for (const auto& c : refused) {
    std::vector<std::string> args{"accelerator-set", f};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun run = cli(args);
    EXPECT_EQ(run.code, c.code) << c.args[1];
    if (c.code == 1) {
      EXPECT_EQ(run.err, c.err);
    }
    EXPECT_EQ(TempDir::read(f), before);
  }
}

TEST(AcceleratorRoundTrip, EveryCorpusRowSetToItsListedKeyAndIdChangesNoByte) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t tables = 0, rows = 0;
  for (const std::string& name : scripts) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    const TempDir dir;
    const std::string file = dir.write(name, read.bytes);
    std::map<std::string, std::size_t> seen;  // --nth of each table name
    for (const std::string& listed : lines(cli({"list", file}).out)) {
      const std::size_t tab = listed.find('\t');
      const std::string resource = listed.substr(0, tab);
      if (listed.compare(tab + 1, 1, "A") != 0 ||
          (listed.size() > tab + 2 && listed[tab + 2] != '\t'))
        continue;
      const std::string nth = std::to_string(++seen[resource]);
      const CliRun shown = cli({"accelerators", "--nth", nth, file, resource});
      if (shown.code != 0) continue;  // a table that does not read, said so
      ++tables;
      const std::vector<std::string> keys = lines(shown.out);
      for (std::size_t row = 0; row < keys.size(); ++row) {
        const std::string& line = keys[row];
        const std::size_t id = line.find('\t') + 1;
        const CliRun set =
            cli({"accelerator-set", "--nth", nth, file, resource, std::to_string(row + 1), "--key",
                 line.substr(0, id - 1), "--id", line.substr(id, line.find('\t', id) - id)});
        EXPECT_EQ(set.code, 0) << line << '\n' << set.err;
        ASSERT_TRUE(TempDir::read(file) == read.bytes) << line;
        ++rows;
      }
    }
  }
  std::cout << rows << " rows of " << tables << " accelerator tables set to their key and ID\n";
  EXPECT_GT(rows, 50u);
}

}  // namespace
}  // namespace kolvre
