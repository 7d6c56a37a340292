// The batch tool's commands over menus and accelerator tables: menu, menu-set and accelerators.
#include <optional>

#include "cli/commands.h"
#include "resources/literals.h"

#include "resources/accelerators.h"
#include "resources/body_tokens.h"
#include "resources/menus.h"
#include "resources/resource_data.h"
#include "syntax/conditionals.h"
#include "syntax/symbols.h"

namespace kolvre::cli {

namespace {

// Opens FILE (argument 0) and finds resource NAME (argument 1) of one of `types`, then runs
// the command on its statement with the script's symbols and charset.
int onStatement(Context& c, const std::vector<std::string_view>& types,
                const std::function<int(Document&, const Statement&, const SymbolTable&,
                                        const ScriptCharset&)>& command) {
  if (c.args.size() != 2) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  const Statement* statement =
      findResourceStatement(doc.text(), doc.statements(), doc.scriptBytes(c.args[1]), types, c.nth,
                            skippedStatements(doc.text(), doc.statements(), doc.headers()));
  if (!statement) {
    c.err << "Risorsa " << c.args[1];
    if (c.nth > 1) c.err << " numero " << c.nth;
    c.err << " non trovata.\n";
    return kFailed;
  }
  const SymbolTable symbols = scriptSymbols(doc.text(), doc.fileName());
  const ScriptCharset charset =
      scriptCharsetAt(doc.text(), statement->begin, doc.form().utf16 != Utf16::None);
  return command(doc, *statement, symbols, charset);
}

void printItems(Context& c, const Document& doc, const std::vector<MenuEntry>& items,
                std::size_t depth) {
  for (const MenuEntry& item : items) {
    c.out << std::string(2 * depth, ' ') << oneLineText(item.fullText);
    c.out << '\t' << doc.display(item.id) << '\t' << menuFlagWords(item.flags) << '\n';
    printItems(c, doc, item.items, depth + 1);
  }
}

}  // namespace

int cmdMenu(Context& c) {
  return onStatement(c, {"MENU", "MENUEX"},
                     [&](const Document& doc, const Statement& statement,
                         const SymbolTable& symbols, const ScriptCharset& charset) {
                       const MenuReading menu = readMenu(doc.text(), statement, &symbols, charset);
                       if (!menu.problem.empty()) {
                         c.err << menu.problem << '\n';
                         return kFailed;
                       }
                       printItems(c, doc, menu.items, 0);
                       return kOk;
                     });
}

namespace {

// The paths of the items whose ID is `id` as written or by value, else of those whose texts
// without "&" from the top level down are `texts`'s parts between "/" (UTF-8, as shown).
std::vector<MenuPath> itemsNamed(const MenuReading& menu, const std::string& id,
                                 const std::string& texts, const SymbolTable& symbols) {
  const std::optional<std::uint32_t> value = knownValue(id, &symbols);
  std::vector<MenuPath> byId, byText;
  MenuPath path;
  const auto walk = [&](const auto& self, const std::vector<MenuEntry>& items) -> void {
    for (std::size_t i = 0; i < items.size(); ++i) {
      path.push_back(i);
      const MenuEntry& e = items[i];
      if (!e.id.empty() && (e.id == id || (value && e.idValue == value))) byId.push_back(path);
      if (!(e.flags & kMenuSeparator) || e.textEnd != 0)
        if (menuTextPath(menu, path) == texts) byText.push_back(path);
      self(self, e.items);
      path.pop_back();
    }
  };
  walk(walk, menu.items);
  return byId.empty() ? byText : byId;
}

}  // namespace

int cmdMenuSet(Context& c) {
  std::vector<std::string> args = c.args;
  std::optional<std::string> text, id, flags, type, state, helpId;
  for (const auto& [option, value] :
       {std::pair<std::string_view, std::optional<std::string>*>{"--text", &text},
        {"--id", &id},
        {"--flags", &flags},
        {"--type", &type},
        {"--state", &state},
        {"--help-id", &helpId}})
    if (!takeOption(args, option, *value)) return kUsage;
  if (args.size() != 3) return kUsage;
  const std::vector<std::string> named{args[0], args[1]};
  Context inner{named, c.in, c.out, c.err, c.ui, c.nth, c.measure};
  return onStatement(
      inner, {"MENU", "MENUEX"},
      [&](Document& doc, const Statement& found, const SymbolTable& symbols,
          const ScriptCharset& charset) {
        std::string script = doc.text();
        Statement statement = found;
        MenuReading menu = readMenu(script, statement, &symbols, charset);
        if (!menu.problem.empty()) {
          c.err << menu.problem << '\n';
          return kFailed;
        }
        const std::vector<MenuPath> paths =
            itemsNamed(menu, doc.scriptBytes(args[2]), args[2], symbols);
        if (paths.size() != 1) {
          c.err << (paths.empty() ? "Voce " + args[2] + " non trovata nel menu " + args[1] + "."
                                  : "Più voci del menu " + args[1] + " si chiamano " + args[2] +
                                        ": indicarne il percorso o l'ID.")
                << '\n';
          return kFailed;
        }
        const MenuPath& path = paths.front();
        // Each change in turn on the text the one before gave, the menu read again after each.
        const auto apply = [&](const Edit& edit) {
          const std::string after = applySplices(script, edit.splices);
          statement.end = statement.end + after.size() - script.size();
          script = after;
          menu = readMenu(script, statement, &symbols, charset);
        };
        if (text) apply(setMenuText(script, menu, path, fromOneLine(*text), charset));
        if (id) apply(setMenuId(script, menu, path, doc.scriptBytes(*id), &symbols));
        if (flags) apply(setMenuFlags(script, menu, path, menuFlagsFromWords(*flags), &symbols));
        const std::pair<std::optional<std::string>*, MenuExField> fields[] = {
            {&type, MenuExField::Type},
            {&state, MenuExField::State},
            {&helpId, MenuExField::HelpId}};
        for (const auto& [value, field] : fields)
          if (*value)
            apply(setMenuExField(script, menu, path, field, doc.scriptBytes(**value), &symbols));
        if (script == doc.text()) return kOk;
        Edit edit;
        edit.label = "Modifica voce di menu";
        edit.splices.push_back(narrowedSplice(statement.begin, found.of(doc.text()),
                                              std::string(statement.of(script))));
        return commitAndSave(c, doc, edit);
      });
}

int cmdAccelerators(Context& c) {
  return onStatement(c, {"ACCELERATORS"},
                     [&](const Document& doc, const Statement& statement,
                         const SymbolTable& symbols, const ScriptCharset& charset) {
                       const AcceleratorReading table =
                           readAccelerators(doc.text(), statement, &symbols, charset);
                       if (!table.problem.empty()) {
                         c.err << table.problem << '\n';
                         return kFailed;
                       }
                       for (const Accelerator& row : table.rows)
                         c.out << row.label << '\t' << doc.display(row.id) << '\t'
                               << acceleratorOptionWords(row.options) << '\n';
                       return kOk;
                     });
}

}  // namespace kolvre::cli
