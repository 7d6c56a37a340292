// Every item of every corpus menu, given back to menu-set as menu prints it (its text, ID and
// options), leaves the script's bytes as they were; so does a text changed and set back.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "document/script_file.h"
#include "resources/menus.h"
#include "resources/resource_data.h"
#include "support/cli_run.h"
#include "support/corpus.h"
#include "support/corpus_documents.h"
#include "support/temp_dir.h"
#include "syntax/conditionals.h"

namespace kolvre {
namespace {

using testing::cli;
using testing::CliRun;

// The item paths of a menu in the order menu prints them.
void collect(const std::vector<MenuEntry>& items, MenuPath& path, std::vector<MenuPath>& out) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    path.push_back(i);
    out.push_back(path);
    collect(items[i].items, path, out);
    path.pop_back();
  }
}

// How menu-set names the item at `path`: its path of texts, where no other item has it and no
// text on it holds a "/"; else nothing.
std::optional<std::string> voceOf(const MenuReading& menu, const std::vector<MenuPath>& paths,
                                  const MenuPath& path) {
  for (std::size_t depth = 1; depth <= path.size(); ++depth)
    if (menuEntryAt(menu, MenuPath(path.begin(), path.begin() + depth))->text.find('/') !=
        std::string::npos)
      return std::nullopt;
  const std::string texts = menuTextPath(menu, path);
  std::size_t same = 0;
  for (const MenuPath& other : paths) same += menuTextPath(menu, other) == texts ? 1 : 0;
  if (same != 1) return std::nullopt;
  return texts;
}

TEST(MenuRoundTrip, EveryCorpusItemSetToWhatMenuPrintsChangesNoByte) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t items = 0, set = 0, unnamed = 0;
  for (const std::string& name : scripts) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    const testing::TempDir dir;
    const std::string file = dir.write(name, read.bytes);
    Document doc;
    doc.load(file, read.bytes);
    const std::vector<bool> skipped =
        skippedStatements(doc.text(), doc.statements(), doc.headers());
    for (std::size_t s = 0; s < doc.statements().size(); ++s) {
      const Statement& statement = doc.statements()[s];
      if (statement.kind != StatementKind::Resource) continue;
      const std::string_view type = statement.type(doc.text());
      if (!isKeyword(type, "MENU") && !isKeyword(type, "MENUEX")) continue;
      const std::string resource = doc.display(statement.name(doc.text()));
      // Its --nth, as the batch tool counts namesakes.
      std::size_t nth = 1;
      while (const Statement* found =
                 findResourceStatement(doc.text(), doc.statements(), statement.name(doc.text()),
                                       {"MENU", "MENUEX"}, nth, skipped)) {
        if (found->begin == statement.begin) break;
        ++nth;
      }
      const CliRun printed = cli({"menu", file, resource, "--nth", std::to_string(nth)});
      if (printed.code != 0) continue;  // a body that does not read, said so
      const SymbolTable symbols = scriptSymbols(doc.text(), file);
      const MenuReading menu = readMenu(doc.text(), statement, &symbols, {});
      if (!menu.problem.empty()) continue;
      std::vector<MenuPath> paths;
      MenuPath path;
      collect(menu.items, path, paths);
      std::istringstream lines(printed.out);
      std::size_t at = 0;
      for (std::string line; std::getline(lines, line); ++at) {
        ASSERT_LT(at, paths.size()) << line;
        const MenuEntry& item = *menuEntryAt(menu, paths[at]);
        ++items;
        if ((item.flags & kMenuSeparator) != 0) continue;
        const auto voce = voceOf(menu, paths, paths[at]);
        if (!voce) {
          ++unnamed;
          continue;
        }
        // Text, ID and options, as menu prints them after the indentation.
        const std::size_t text = line.find_first_not_of(' ');
        const std::size_t id = line.find('\t', text) + 1;
        const std::size_t flags = line.find('\t', id) + 1;
        ASSERT_GT(flags, id) << line;
        std::vector<std::string> args = {"menu-set", file,
                                         resource,   *voce,
                                         "--nth",    std::to_string(nth),
                                         "--text",   line.substr(text, id - 1 - text)};
        if (!item.id.empty() || menu.extended)
          args.insert(args.end(), {"--id", line.substr(id, flags - 1 - id)});
        args.insert(args.end(), {"--flags", line.substr(flags)});
        const CliRun same = cli(args);
        EXPECT_EQ(same.code, 0) << line << '\n' << same.err;
        ASSERT_TRUE(testing::TempDir::read(file) == read.bytes) << resource << ": " << line;
        ++set;
      }
    }
  }
  std::cout << items << " menu items listed, " << set << " set to themselves unchanged, " << unnamed
            << " without a path of their own\n";
  EXPECT_GT(set, items / 2);
}

TEST(MenuSet, ChangesTheItemByIdOrPathInOneStepAndSaysWhatItRefuses) {
  const testing::TempDir dir;
  const std::string before =
      "#define IDM_OPEN 101\r\nM MENU\r\n{\r\n  POPUP \"&File\"\r\n  {\r\n"
      "    MENUITEM \"&Apri\", IDM_OPEN\r\n    MENUITEM \"&Esci\", 102, GRAYED\r\n  }\r\n}\r\n";
  const std::string file = dir.write("m.rc", before);
  // By value, text, ID and options at once.
  CliRun run =
      cli({"menu-set", file, "M", "101", "--text", "&Apri...\\tCtrl+O", "--flags", "checked"});
  ASSERT_EQ(run.code, 0) << run.err;
  std::string expected = before;
  expected.replace(expected.find("\"&Apri\", IDM_OPEN"), 17,
                   "\"&Apri...\\tCtrl+O\", IDM_OPEN, CHECKED");
  EXPECT_EQ(testing::TempDir::read(file), expected);
  // By its path of texts.
  run = cli({"menu-set", file, "M", "File/Esci", "--id", "IDM_OPEN", "--flags", ""});
  ASSERT_EQ(run.code, 0) << run.err;
  expected.replace(expected.find("102, GRAYED"), 11, "IDM_OPEN");
  EXPECT_EQ(testing::TempDir::read(file), expected);
  // Refused, the file as it was.
  const std::pair<std::vector<std::string>, std::string> refusals[] = {
      {{"menu-set", file, "M", "File/Esci", "--id", "IDM_NONE"},
       "ID non valido: «IDM_NONE» non è un numero né un simbolo definito.\n"},
      {{"menu-set", file, "M", "File/Nuovo", "--text", "x"},
       "Voce File/Nuovo non trovata nel menu M.\n"},
      {{"menu-set", file, "M", "IDM_OPEN", "--text", "x"},
       "Più voci del menu M si chiamano IDM_OPEN: indicarne il percorso o l'ID.\n"},
      {{"menu-set", file, "M", "File", "--id", "5"}, "Un pop-up di un menu MENU non ha ID.\n"},
      {{"menu-set", file, "M", "File", "--flags", "BOLD"},
       "Opzione sconosciuta «BOLD»: valgono GRAYED, INACTIVE, CHECKED, MENUBREAK, MENUBARBREAK, "
       "HELP e, nei menu MENUEX, DEFAULT.\n"},
  };
  for (const auto& [args, message] : refusals) {
    run = cli(args);
    EXPECT_EQ(run.code, 1) << args[3];
    EXPECT_EQ(run.err, message);
  }
  EXPECT_EQ(testing::TempDir::read(file), expected);
  EXPECT_EQ(cli({"menu-set", file, "M"}).code, 2);
  EXPECT_EQ(cli({"menu-set", file, "M", "101", "--text"}).code, 2);
}

}  // namespace
}  // namespace kolvre
