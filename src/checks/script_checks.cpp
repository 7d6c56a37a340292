#include "checks/script_checks.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

#include "checks/branches.h"
#include "checks/version_checks.h"
#include "document/languages.h"
#include "resources/accelerators.h"
#include "resources/literals.h"
#include "resources/menus.h"
#include "resources/resource_data.h"
#include "resources/string_tables.h"
#include "syntax/encoding.h"

namespace kolvre {

namespace {

// What every rule of this file shares beside the context: where the index holds each
// statement, the conditional sections, and how the script's bytes read as UTF-8.
struct ScriptView {
  const CheckContext& context;
  std::unordered_map<std::size_t, std::size_t> entryAt;  // statement begin -> index position
  ConditionalBranches branches;
  TextEncoding encoding;

  explicit ScriptView(const CheckContext& c)
      : context(c), branches(c.text, c.tree), encoding(detectEncoding(c.text)) {
    for (std::size_t i = 0; i < c.index.size(); ++i) entryAt.emplace(c.index[i].offset, i);
  }
  std::string display(std::string_view bytes) const { return toDisplay(bytes, encoding); }
  // A finding at `at`, inside statement `s`: framed by its resource where the index lists the
  // statement, else a finding about the script that stands at `at` itself.
  Finding findingIn(const Statement& s, std::size_t at, CheckRule rule, std::string message) const {
    if (const auto entry = entryAt.find(s.begin); entry != entryAt.end())
      return findingAt(context, entry->second, rule, std::move(message));
    Finding f;
    f.rule = rule;
    f.offset = at;
    f.message = std::move(message);
    return f;
  }
  std::size_t line(std::size_t offset) const { return lineNumberAt(context.text, offset); }
  // True when the statement that begins at `begin` is not compiled: in an `#if 0` branch, or a
  // resource in any branch the compiler skips (the index's inactive entries).
  bool skipped(std::size_t begin) const {
    if (branches.dead(begin)) return true;
    const auto entry = entryAt.find(begin);
    return entry != entryAt.end() && context.index[entry->second].inactive;
  }
  // The statements of kind `kind` the index lists, never those the compiler skips.
  template <typename Visit>
  void forEach(std::optional<ResourceType> kind, Visit visit) const {
    for (const Statement& s : context.statements) {
      if (s.kind != StatementKind::Resource && s.kind != StatementKind::StringTable) continue;
      const auto entry = entryAt.find(s.begin);
      if (entry == entryAt.end() || skipped(s.begin)) continue;
      if (kind && context.index[entry->second].type != *kind) continue;
      visit(s, entry->second);
    }
  }
};

// An ID as the messages name it: as written, with its value after it when that is no longer
// the same number ("IDS_TITLE (101)", "101").
std::string idWithValue(std::string_view written, std::optional<std::uint32_t> value) {
  std::string shown(written);
  if (value && shown != std::to_string(*value)) shown += " (" + std::to_string(*value) + ")";
  return shown;
}

// Two IDs one rule takes for one: equal values, or where a value is unknown, the same text.
struct IdKey {
  std::optional<std::uint32_t> value;
  std::string written;
  bool operator<(const IdKey& other) const {
    if (value.has_value() != other.value.has_value()) return value.has_value();
    return value ? *value < *other.value : written < other.written;
  }
};
IdKey idKey(const std::string& written, std::optional<std::uint32_t> value) {
  return value ? IdKey{value, {}} : IdKey{std::nullopt, written};
}

void duplicateStrings(const ScriptView& view, std::vector<Finding>& found) {
  const CheckContext& c = view.context;
  const StringContext strings{c.symbols, c.utf16File};
  struct Defined {
    std::size_t offset;
    std::string table;  // the list name of its table
    std::size_t tableBegin;
  };
  // Per language, the definitions met so far of each ID.
  std::map<std::pair<std::string, IdKey>, std::vector<Defined>> seen;
  for (std::size_t i = 0; i < c.statements.size(); ++i) {
    const Statement& s = c.statements[i];
    if (s.kind != StatementKind::StringTable) continue;
    const auto entry = view.entryAt.find(s.begin);
    if (entry == view.entryAt.end() || view.skipped(s.begin)) continue;
    const StringTable table = readStringTable(c.text, s, strings);
    const std::string& language = c.index[entry->second].language;
    const std::string tableName = view.display(c.index[entry->second].name);
    for (const StringEntry& string : table.entries) {
      if (view.branches.dead(string.idBegin)) continue;
      const std::optional<std::uint32_t> value =
          string.value ? std::optional<std::uint32_t>(*string.value) : std::nullopt;
      auto& earlier = seen[{language, idKey(string.id, value)}];
      const auto both = std::find_if(earlier.begin(), earlier.end(), [&](const Defined& d) {
        return !view.branches.exclusive(d.offset, string.idBegin);
      });
      if (both != earlier.end()) {
        const std::string where = both->tableBegin == table.begin
                                      ? " di questa tabella."
                                      : " (tabella " + both->table + ").";
        Finding f = findingAt(c, entry->second, CheckRule::DuplicateStringId,
                              "Stringa " + view.display(idWithValue(string.id, value)) +
                                  " già definita alla riga " +
                                  std::to_string(view.line(both->offset)) + where);
        f.control = view.display(string.id);
        found.push_back(std::move(f));
      }
      earlier.push_back({string.idBegin, tableName, table.begin});
    }
  }
}

// The compiler stores the name of a DLGINCLUDE's file and reads nothing from it; the kinds
// whose body is required name no file.
bool mayNameFile(std::string_view type) {
  const ResourceKeyword* keyword = resourceKeyword(type);
  if (!keyword) return true;  // a number or a type of the script's own
  return keyword->body == BodyRule::FileOrBody && keyword->word != "DLGINCLUDE";
}

void missingFiles(const ScriptView& view, std::vector<Finding>& found) {
  const CheckContext& c = view.context;
  if (c.fileName.empty()) return;
  view.forEach(std::nullopt, [&](const Statement& s, std::size_t entry) {
    if (s.kind != StatementKind::Resource || !s.complete || !mayNameFile(s.type(c.text))) return;
    const auto file = namedFile(c.text, c.fileName, view.encoding, s);
    if (!file || file->size) return;
    found.push_back(
        findingAt(c, entry, CheckRule::MissingFile, "File non trovato: " + file->written + "."));
  });
}

// Strings that write a quote as \" : windres reads it (and warns), llvm-rc refuses the script.
// The editor reads them as windres does; the writer doubles quotes, which both compilers read.
void escapedQuotes(const ScriptView& view, std::vector<Finding>& found) {
  const CheckContext& c = view.context;
  for (std::size_t i = 0; i < c.statements.size(); ++i) {
    const Statement& s = c.statements[i];
    if (!view.entryAt.contains(s.begin) || view.skipped(s.begin)) continue;
    const std::string_view text = s.of(c.text);
    for (const TreeToken& t : c.tree.statementTree(c.text, i).tokens) {
      if (t.kind != TokenKind::String ||
          !holdsBackslashQuote(text.substr(t.begin, t.end - t.begin)))
        continue;
      found.push_back(view.findingIn(s, s.begin + t.begin, CheckRule::EscapedQuote,
                                     "Alla riga " + std::to_string(view.line(s.begin + t.begin)) +
                                         " un testo scrive \\\" per le virgolette: lo legge solo "
                                         "windres, llvm-rc lo rifiuta. Scrivere \"\"."));
    }
  }
}

// Visits each statement that is compiled (never a preprocessor line nor a comment, nor one the
// compiler skips) with its tree.
template <typename Visit>
void forEachTree(const ScriptView& view, Visit visit) {
  const CheckContext& c = view.context;
  for (std::size_t i = 0; i < c.statements.size(); ++i) {
    const Statement& s = c.statements[i];
    if (s.kind == StatementKind::Directive || s.kind == StatementKind::Comment ||
        view.skipped(s.begin))
      continue;
    visit(s, c.tree.statementTree(c.text, i));
  }
}

// Values that multiply or divide: windres computes them (outside a style's bare list of flags),
// llvm-rc 14 knows neither operator and refuses the script. The symbols read them as windres.
void multiplications(const ScriptView& view, std::vector<Finding>& found) {
  const CheckContext& c = view.context;
  forEachTree(view, [&](const Statement& s, const StatementTree& tree) {
    const std::string_view text = s.of(c.text);
    for (const TreeNode& node : tree.nodes) {
      if (node.kind != NodeKind::Field) continue;
      for (std::uint32_t k = node.first; k < node.last; ++k) {
        const TreeToken& t = tree.tokens[k];
        if (t.kind != TokenKind::Punct || (text[t.begin] != '*' && text[t.begin] != '/')) continue;
        const std::size_t at = s.begin + t.begin;
        if (view.branches.dead(at)) break;
        found.push_back(view.findingIn(
            s, at, CheckRule::Multiplication,
            "Alla riga " + std::to_string(view.line(at)) + " un valore usa l'operatore " +
                text[t.begin] + ", che llvm-rc non conosce: scrivere il valore calcolato."));
        break;
      }
    }
  });
}

// How much of an unread text a message shows: the tokens of its first line, up to about this
// many bytes.
constexpr std::size_t kShownUnread = 40;

// Text the syntax tree cannot place, each run once with its line.
void unreadText(const ScriptView& view, std::vector<Finding>& found) {
  const CheckContext& c = view.context;
  forEachTree(view, [&](const Statement& s, const StatementTree& tree) {
    const std::string_view text = s.of(c.text);
    for (const TreeNode& node : tree.nodes) {
      if (node.kind != NodeKind::Unread || node.first == node.last) continue;
      const std::size_t at = s.begin + tree.beginOf(node);
      if (view.branches.dead(at)) continue;
      std::uint32_t shown = node.first + 1;
      while (shown < node.last && !tree.tokens[shown].newLine &&
             tree.tokens[shown].end - tree.tokens[node.first].begin <= kShownUnread)
        ++shown;
      const std::size_t begin = tree.tokens[node.first].begin;
      std::string written = view.display(text.substr(begin, tree.tokens[shown - 1].end - begin));
      written += shown < node.last ? " …" : ".";
      found.push_back(view.findingIn(
          s, at, CheckRule::UnreadText,
          "Riga " + std::to_string(view.line(at)) + ": testo non riconosciuto: " + written));
    }
  });
}

// Strings left open: the lexer ends one with its line and reads on, the compilers refuse it.
void unclosedStrings(const ScriptView& view, std::vector<Finding>& found) {
  const CheckContext& c = view.context;
  forEachTree(view, [&](const Statement& s, const StatementTree& tree) {
    const std::string_view text = s.of(c.text);
    for (const TreeToken& t : tree.tokens) {
      if (!isQuotedString(text, t)) continue;
      const std::size_t quote = t.begin + (text[t.begin] == 'L' ? 1 : 0);
      const std::size_t at = s.begin + quote;
      if (stringClosed(text.substr(quote, t.end - quote)) || view.branches.dead(at)) continue;
      found.push_back(
          view.findingIn(s, at, CheckRule::UnclosedText,
                         "Testo non chiuso alla riga " + std::to_string(view.line(at)) + "."));
    }
  });
}

// The menu items with an ID (separators and ID 0 aside), pop-ups' items included, in the
// order of the text.
void itemsWithId(const std::vector<MenuEntry>& items, std::vector<const MenuEntry*>& out) {
  for (const MenuEntry& item : items) {
    if (!item.id.empty() && !(item.flags & kMenuSeparator) && item.idValue != 0u)
      out.push_back(&item);
    itemsWithId(item.items, out);
  }
}

// The menus' items, read once for both menu rules; `complete` false when a menu did not read.
struct MenuItems {
  std::vector<std::pair<std::size_t, MenuReading>> menus;  // index position, reading
  bool complete = true;
};

MenuItems readMenus(const ScriptView& view) {
  const CheckContext& c = view.context;
  MenuItems all;
  view.forEach(std::nullopt, [&](const Statement& s, std::size_t entry) {
    const ResourceType type = c.index[entry].type;
    if (type != ResourceType::Menu && type != ResourceType::MenuEx) return;
    MenuReading menu =
        readMenu(c.text, s, c.symbols, scriptCharsetAt(c.text, s.begin, c.utf16File));
    if (!menu.problem.empty()) {
      all.complete = false;
      return;
    }
    all.menus.emplace_back(entry, std::move(menu));
  });
  return all;
}

// The value a menu item's ID is stored as: 16 bits in a MENU, 32 in a MENUEX.
std::optional<std::uint32_t> storedId(const MenuReading& menu, const MenuEntry& item) {
  if (!item.idValue || menu.extended) return item.idValue;
  return *item.idValue & 0xFFFFu;
}

void duplicateMenuIds(const ScriptView& view, const MenuItems& menus, std::vector<Finding>& found) {
  for (const auto& [entry, menu] : menus.menus) {
    std::vector<const MenuEntry*> items;
    itemsWithId(menu.items, items);
    std::map<IdKey, std::vector<const MenuEntry*>> seen;
    for (const MenuEntry* item : items) {
      const std::optional<std::uint32_t> value = storedId(menu, *item);
      auto& earlier = seen[idKey(item->id, value)];
      const auto both = std::find_if(earlier.begin(), earlier.end(), [&](const MenuEntry* e) {
        return !view.branches.exclusive(e->offset, item->offset);
      });
      if (both != earlier.end() && !view.branches.dead(item->offset)) {
        Finding f = findingAt(view.context, entry, CheckRule::DuplicateMenuId,
                              "ID " + view.display(idWithValue(item->id, value)) +
                                  " già usato dalla voce \"" + (*both)->text + "\" alla riga " +
                                  std::to_string(view.line((*both)->offset)) + ".");
        f.control = view.display(item->id);
        found.push_back(std::move(f));
      }
      earlier.push_back(item);
    }
  }
}

void acceleratorsWithoutItem(const ScriptView& view, const MenuItems& menus,
                             std::vector<Finding>& found) {
  // Without menus (or with one that does not read) the rule cannot tell: the accelerators of a
  // script without menus serve its dialogs or a window of the program's own.
  if (menus.menus.empty() || !menus.complete) return;
  const CheckContext& c = view.context;
  // The IDs the accelerators' commands arrive with: their low 16 bits.
  std::set<std::uint32_t> values;
  std::set<std::string, std::less<>> written;
  for (const auto& [entry, menu] : menus.menus) {
    std::vector<const MenuEntry*> items;
    itemsWithId(menu.items, items);
    for (const MenuEntry* item : items) {
      if (item->idValue) values.insert(*item->idValue & 0xFFFFu);
      written.insert(item->id);
    }
  }
  view.forEach(ResourceType::Accelerators, [&](const Statement& s, std::size_t entry) {
    const AcceleratorReading table =
        readAccelerators(c.text, s, c.symbols, scriptCharsetAt(c.text, s.begin, c.utf16File));
    for (const Accelerator& row : table.rows) {
      if (row.id.empty() || row.idValue == 0u || view.branches.dead(row.offset)) continue;
      if (row.idValue ? values.contains(*row.idValue & 0xFFFFu) : written.contains(row.id))
        continue;
      Finding f = findingAt(c, entry, CheckRule::AcceleratorNoItem,
                            "Nessuna voce di menu ha l'ID " +
                                view.display(idWithValue(row.id, row.idValue)) + " del tasto " +
                                row.label + ".");
      f.control = view.display(row.id);
      found.push_back(std::move(f));
    }
  });
}

// A key twice in one table: the compiled table answers it with the first row alone.
void duplicateAccelerators(const ScriptView& view, std::vector<Finding>& found) {
  const CheckContext& c = view.context;
  view.forEach(ResourceType::Accelerators, [&](const Statement& s, std::size_t entry) {
    AcceleratorReading table =
        readAccelerators(c.text, s, c.symbols, scriptCharsetAt(c.text, s.begin, c.utf16File));
    // The rows the compiler reads, each with its place among them all; two rows in branches
    // that exclude each other never stand together.
    std::vector<std::size_t> places;
    for (std::size_t i = 0; i < table.rows.size(); ++i)
      if (!view.branches.dead(table.rows[i].offset)) places.push_back(i);
    const std::vector<std::optional<std::size_t>> earlier = duplicateAcceleratorKeys(table);
    for (const std::size_t i : places) {
      const Accelerator& row = table.rows[i];
      if (!earlier[i] || view.branches.dead(table.rows[*earlier[i]].offset) ||
          view.branches.exclusive(table.rows[*earlier[i]].offset, row.offset))
        continue;
      const Accelerator& first = table.rows[*earlier[i]];
      Finding f = findingAt(
          c, entry, CheckRule::DuplicateAccelerator,
          duplicateAcceleratorMessage(row.label, view.display(first.id), view.line(first.offset)));
      f.control = view.display(row.id);
      found.push_back(std::move(f));
    }
  });
}

}  // namespace

std::vector<Finding> checkScriptResources(const CheckContext& context) {
  const ScriptView view(context);
  std::vector<Finding> found;
  duplicateStrings(view, found);
  missingFiles(view, found);
  const MenuItems menus = readMenus(view);
  duplicateMenuIds(view, menus, found);
  acceleratorsWithoutItem(view, menus, found);
  duplicateAccelerators(view, found);
  escapedQuotes(view, found);
  multiplications(view, found);
  unreadText(view, found);
  unclosedStrings(view, found);
  versionTranslations(context, view.branches, found);
  return found;
}

}  // namespace kolvre
