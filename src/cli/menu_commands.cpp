// The batch tool's commands over menus and accelerator tables: menu and accelerators.
#include "cli/commands.h"

#include "syntax/symbols.h"
#include "resources/accelerators.h"
#include "resources/menus.h"
#include "resources/resource_data.h"

namespace kolvre::cli {

namespace {

// Opens FILE (argument 0) and finds resource NAME (argument 1) of one of `types`, then runs
// the command on its statement with the script's symbols and charset.
int onStatement(Context& c, const std::vector<std::string_view>& types,
                const std::function<int(const Document&, const Statement&, const SymbolTable&,
                                        const ScriptCharset&)>& command) {
  if (c.args.size() != 2) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  const Statement* statement =
      findResourceStatement(doc.text(), doc.statements(), doc.scriptBytes(c.args[1]), types, c.nth);
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
    c.out << std::string(2 * depth, ' ') << item.text;
    if (!item.shortcut.empty()) c.out << "\\t" << item.shortcut;
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
