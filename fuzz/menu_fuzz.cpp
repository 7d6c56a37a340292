// Fuzzes the readers of menus, accelerator tables and inline data. The input is a body: it is
// read as the body of a MENU, a MENUEX, an ACCELERATORS and an RCDATA statement, and the input
// itself as a script whose every resource is read as all of them. Rules: a reading either has
// items (rows) or a reason that names a line, never both; a menu read whole has one item for each
// MENUITEM and POPUP word of its body, each item at its word, in text order; the rows of a table
// stand in text order, each with a key and an id; the hex view has a line per sixteen bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/accelerators.h"
#include "resources/body_tokens.h"
#include "resources/menus.h"
#include "resources/resource_data.h"
#include "syntax/lexer.h"
#include "syntax/statements.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("menu", violation, rule);
}

// The MENUITEM and POPUP words of the statement's body, up to the "}" or END that closes it.
std::size_t itemWords(std::string_view text, const kolvre::Statement& s) {
  std::size_t count = 0;
  int depth = 1;
  if (const auto body = kolvre::bodyTokens(text, s))
    for (const kolvre::Token& t : body->tokens) {
      if (kolvre::opensBody(text, t)) ++depth;
      if (kolvre::closesBody(text, t) && --depth == 0) break;
      if (t.kind == kolvre::TokenKind::Word &&
          (kolvre::isKeyword(t.of(text), "MENUITEM") || kolvre::isKeyword(t.of(text), "POPUP")))
        ++count;
    }
  return count;
}

void checkItems(std::string_view text, const std::vector<kolvre::MenuEntry>& items,
                std::size_t& last) {
  for (const kolvre::MenuEntry& item : items) {
    const std::string_view word = text.substr(item.offset, item.popup ? 5 : 8);
    require(unless(kolvre::isKeyword(word, item.popup ? "POPUP" : "MENUITEM"),
                   "item not at its word: " + std::string(word)),
            "item at its word");
    require(unless(item.offset >= last, "items out of order"), "text order");
    last = item.offset + 1;
    require(unless(item.popup || item.items.empty(), "an item with items"), "only pop-ups nest");
    checkItems(text, item.items, last);
  }
}

void readAll(std::string_view text, const kolvre::Statement& s) {
  const kolvre::MenuReading menu = kolvre::readMenu(text, s, nullptr, {});
  require(unless(menu.problem.empty() || (menu.items.empty() && menu.problem.starts_with("Riga ")),
                 "reason and items: " + menu.problem),
          "menu reason");
  if (menu.problem.empty()) {
    const std::size_t count = kolvre::countMenuEntries(menu.items);
    require(unless(count == itemWords(text, s), std::to_string(count) + " items, " +
                                                    std::to_string(itemWords(text, s)) + " words"),
            "one item per word");
    std::size_t last = 0;
    checkItems(text, menu.items, last);
  }
  const kolvre::AcceleratorReading table = kolvre::readAccelerators(text, s, nullptr, {});
  require(
      unless(table.problem.empty() || (table.rows.empty() && table.problem.starts_with("Riga ")),
             "reason and rows: " + table.problem),
      "table reason");
  std::size_t last = 0;
  for (const kolvre::Accelerator& row : table.rows) {
    require(unless(!row.key.empty() && !row.id.empty() && !row.label.empty(), "empty field"),
            "row fields");
    require(unless(row.offset >= last, "rows out of order"), "text order");
    last = row.offset + 1;
  }
  if (const auto data = kolvre::inlineData(text, s, nullptr, {})) {
    const auto lines = kolvre::hexViewLines(data->bytes);
    require(unless(lines.size() == (data->bytes.size() + 15) / 16, "hex lines"), "hex view");
  }
}

void readScript(std::string_view text) {
  for (const kolvre::Statement& s : kolvre::readStatements(text))
    if (s.kind == kolvre::StatementKind::Resource) readAll(text, s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);
  for (const char* header : {"M MENU\r\n", "M MENUEX\r\n", "A ACCELERATORS\r\n", "R RCDATA\r\n"})
    readScript(header + body);
  readScript(body);
  return 0;
}
