// Every menu and accelerator table of the corpus of real scripts through the readers: a menu
// has one item for each MENUITEM and POPUP line of its text, counted here by words; a body
// the reader leaves unread uses a macro the script defines, which only a preprocessor expands.
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "base/text.h"
#include "syntax/symbols.h"
#include "syntax/lexer.h"
#include "resources/accelerators.h"
#include "resources/menus.h"
#include "support/corpus.h"
#include "support/corpus_documents.h"

namespace kolvre {
namespace {

// The lines of `text` (comments blanked) whose first word is MENUITEM or POPUP.
std::size_t itemLines(std::string_view text) {
  const std::string plain = blankComments(text);
  std::size_t count = 0;
  std::size_t at = 0;
  while (at < plain.size()) {
    const std::size_t end = std::min(plain.find('\n', at), plain.size());
    const std::string_view line = trimSpace(std::string_view(plain).substr(at, end - at));
    const std::string_view word =
        line.substr(0, std::min(line.find_first_of(" \t\","), line.size()));
    if (equalsIgnoringCase(word, "MENUITEM") || equalsIgnoringCase(word, "POPUP")) ++count;
    at = end + 1;
  }
  return count;
}

// True when `problem` quotes a word the script defines with #define.
bool namesAMacro(std::string_view problem, const SymbolTable& symbols, std::string_view text) {
  const std::size_t open = problem.find("«");
  if (open == std::string_view::npos) return false;
  const std::size_t start = open + std::string_view("«").size();
  const std::string word(problem.substr(start, problem.find("»") - start));
  return symbols.find(word) || text.find("#define " + word + "(") != std::string_view::npos;
}

class MenuCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(MenuCorpus, EveryMenuAndTableReads) {
  KOLVRE_CORPUS_CASE(GetParam());
  testing::forEachCorpusDocument({GetParam()}, [](Document& doc, const std::string&) {
    const std::string_view text = doc.text();
    SymbolTable symbols;
    readDefines(text, symbols);
    int menus = 0, items = 0, tables = 0, rows = 0, macros = 0;
    for (const Statement& s : doc.statements()) {
      if (s.kind != StatementKind::Resource) continue;
      SCOPED_TRACE(std::string(s.name(text)));
      const std::string_view type = s.type(text);
      if (isKeyword(type, "MENU") || isKeyword(type, "MENUEX")) {
        ++menus;
        const MenuReading menu = readMenu(text, s, &symbols, {});
        if (!menu.problem.empty() && namesAMacro(menu.problem, symbols, text)) {
          ++macros;
          continue;
        }
        EXPECT_EQ(menu.problem, "");
        EXPECT_EQ(countMenuEntries(menu.items), itemLines(s.of(text)));
        items += static_cast<int>(countMenuEntries(menu.items));
      } else if (isKeyword(type, "ACCELERATORS")) {
        ++tables;
        const AcceleratorReading table = readAccelerators(text, s, &symbols, {});
        EXPECT_EQ(table.problem, "");
        rows += static_cast<int>(table.rows.size());
      }
    }
    if (menus + tables > 0)
      std::cout << GetParam() << ": " << menus << " menus (" << items << " items, " << macros
                << " with macros), " << tables << " tables (" << rows << " rows)\n";
  });
}

INSTANTIATE_TEST_SUITE_P(Corpus, MenuCorpus, ::testing::ValuesIn(testing::corpusCases()),
                         testing::corpusCaseName);

}  // namespace
}  // namespace kolvre
