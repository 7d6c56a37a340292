// Fuzzes the edits of menu items. The input's first three bytes choose the edit (and MENU or
// MENUEX), the item (in preorder) and a number (flags, a move); the rest is a text, a NUL, and the
// body of the menu. Rules: an edit is refused (Refusal) or gives splices in text order that stay
// inside the menu's statement, so the script around it keeps its bytes; the menu read again from
// what it gives reads whole; and it holds what the edit says: a text set is the item's text, the
// others' texts unchanged; flags set are the item's flags; an insert adds one item there, a
// delete takes the item and its pop-up's items away; a move keeps every text, the moved item's at
// the place movedMenuPath gives; an ID set is the item's ID as written.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "document/edit.h"
#include "messages/error_record.h"
#include "resources/menus.h"
#include "syntax/statements.h"

#include "fuzz_check.h"

namespace {

using kolvre::MenuEntry;
using kolvre::MenuPath;
using kolvre::MenuReading;
using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("menu_edit", violation, rule);
}

// Every item's path and text, in preorder.
void walk(const std::vector<MenuEntry>& items, MenuPath& path, std::vector<MenuPath>& paths,
          std::vector<std::string>& texts) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    path.push_back(i);
    paths.push_back(path);
    texts.push_back(items[i].fullText);
    walk(items[i].items, path, paths, texts);
    path.pop_back();
  }
}

MenuReading menuOf(std::string_view text) {
  for (const kolvre::Statement& s : kolvre::readStatements(text))
    if (s.kind == kolvre::StatementKind::Resource) return kolvre::readMenu(text, s, nullptr, {});
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const unsigned op = data[0] % 8;
  const bool extended = data[0] & 0x80;
  const std::string rest(reinterpret_cast<const char*>(data + 3), size - 3);
  const std::size_t nul = rest.find('\0');
  const std::string text = nul == std::string::npos ? std::string() : rest.substr(0, nul);
  const std::string body = nul == std::string::npos ? rest : rest.substr(nul + 1);
  const std::string prefix = "#define IDM_A 7\r\n";
  const std::string script =
      prefix + (extended ? "M MENUEX\r\n" : "M MENU\r\n") + body + "\r\nZ ICON \"z.ico\"\r\n";
  const MenuReading menu = menuOf(script);
  if (!menu.problem.empty() || menu.statement.end == 0) return 0;
  std::vector<MenuPath> paths;
  std::vector<std::string> texts;
  MenuPath at;
  walk(menu.items, at, paths, texts);
  MenuPath path = paths.empty() ? MenuPath{0} : paths[data[1] % paths.size()];
  kolvre::SymbolTable symbols;
  symbols.define("IDM_A", "7");
  const kolvre::MenuMove move = static_cast<kolvre::MenuMove>(data[2] % 4);
  kolvre::Edit edit;
  try {
    switch (op) {
      case 0:
        edit = kolvre::setMenuText(script, menu, path, text, {});
        break;
      case 1:
        edit = kolvre::setMenuId(script, menu, path, text, &symbols);
        break;
      case 2:
        edit = kolvre::setMenuFlags(script, menu, path, data[2] & 0xBF, &symbols);
        break;
      case 3:
      case 4:
        if (op == 4 && !path.empty()) ++path.back();
        edit = kolvre::insertMenuItem(script, menu, path, {(data[2] & 1) != 0, text, text}, {},
                                      &symbols);
        break;
      case 5:
        edit = kolvre::deleteMenuItem(script, menu, path);
        break;
      case 6:
        edit = kolvre::moveMenuItem(script, menu, path, move);
        break;
      default:
        edit = kolvre::setMenuExField(
            script, menu, path, static_cast<kolvre::MenuExField>(1 + data[2] % 3), text, &symbols);
        break;
    }
  } catch (const kolvre::Refusal&) {
    return 0;
  }
  // The splices: in order, inside the statement.
  std::size_t last = menu.statement.begin;
  for (const kolvre::Splice& s : edit.splices) {
    require(unless(s.begin >= last && s.end >= s.begin && s.end <= menu.statement.end,
                   "splice [" + std::to_string(s.begin) + ", " + std::to_string(s.end) + ")"),
            "splices in order inside the statement");
    last = s.end;
  }
  const std::string after = kolvre::applySplices(script, edit.splices);
  const std::size_t tail = script.size() - menu.statement.end;
  require(
      unless(after.compare(0, menu.statement.begin, script, 0, menu.statement.begin) == 0 &&
                 after.size() >= tail &&
                 after.compare(after.size() - tail, tail, script, menu.statement.end, tail) == 0,
             "bytes outside the menu changed"),
      "the script around keeps its bytes");
  if (edit.splices.empty()) return 0;
  const MenuReading again = menuOf(after);
  require(unless(again.problem.empty(), "reads no more: " + again.problem), "the menu reads");
  std::vector<MenuPath> pathsAfter;
  std::vector<std::string> textsAfter;
  at.clear();
  walk(again.items, at, pathsAfter, textsAfter);
  const MenuEntry* item = kolvre::menuEntryAt(again, path);
  switch (op) {
    case 0: {
      require(unless(item && item->fullText == text, "text not set"), "a text set is the text");
      std::size_t differing = 0;
      for (std::size_t i = 0; i < texts.size() && i < textsAfter.size(); ++i)
        differing += texts[i] != textsAfter[i] ? 1 : 0;
      require(unless(textsAfter.size() == texts.size() && differing <= 1, "other texts changed"),
              "only that text");
      break;
    }
    case 1:
      require(unless(item && (item->id == kolvre::trimBlanks(text) || item->id == "0"),
                     "ID not set: " + (item ? item->id : std::string("-"))),
              "an ID set is the ID");
      break;
    case 2: {
      unsigned wanted = data[2] & 0xBF;
      if (extended && (wanted & kolvre::kMenuGrayed)) wanted &= ~unsigned(kolvre::kMenuInactive);
      require(unless(item && item->flags == wanted, "flags not set"), "flags set are the flags");
      break;
    }
    case 3:
    case 4:
      require(unless(textsAfter.size() == texts.size() + 1 && item &&
                         ((data[2] & 1) || item->fullText == text),
                     "no item added there"),
              "an insert adds one item");
      break;
    case 5: {
      const MenuEntry* gone = kolvre::menuEntryAt(menu, path);
      require(unless(gone && textsAfter.size() ==
                                 texts.size() - 1 - kolvre::countMenuEntries(gone->items),
                     "not that many items gone"),
              "a delete takes the item and its items");
      break;
    }
    case 6: {
      std::vector<std::string> sortedBefore = texts, sortedAfter = textsAfter;
      std::sort(sortedBefore.begin(), sortedBefore.end());
      std::sort(sortedAfter.begin(), sortedAfter.end());
      const auto to = kolvre::movedMenuPath(menu, path, move);
      const MenuEntry* moved = to ? kolvre::menuEntryAt(again, *to) : nullptr;
      require(unless(sortedBefore == sortedAfter && moved &&
                         moved->fullText == kolvre::menuEntryAt(menu, path)->fullText,
                     "texts lost or item elsewhere"),
              "a move keeps every text");
      break;
    }
    default:
      break;
  }
  return 0;
}
