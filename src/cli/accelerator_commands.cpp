// The batch tool's edit of an accelerator table: accelerator-set.
#include <algorithm>

#include "cli/commands.h"
#include "resources/accelerators.h"
#include "resources/resource_data.h"
#include "syntax/conditionals.h"
#include "syntax/symbols.h"

namespace kolvre::cli {

int cmdAcceleratorSet(Context& c) {
  std::vector<std::string> args = c.args;
  std::optional<std::string> key, id;
  if (!takeOption(args, "--key", key) || !takeOption(args, "--id", id) || args.size() != 3)
    return kUsage;
  std::size_t row = 0;
  if (!parseCount(args[2], row)) return kUsage;
  Document doc;
  if (!openScript(c, args[0], doc)) return kFailed;
  const Statement* statement = findResourceStatement(
      doc.text(), doc.statements(), doc.scriptBytes(args[1]), {"ACCELERATORS"}, c.nth,
      skippedStatements(doc.text(), doc.statements(), doc.headers()));
  if (!statement) {
    c.err << "Risorsa " << args[1];
    if (c.nth > 1) c.err << " numero " << c.nth;
    c.err << " non trovata.\n";
    return kFailed;
  }
  const SymbolTable symbols = scriptSymbols(doc.text(), doc.fileName());
  const AcceleratorReading table = documentAccelerators(doc, statement->begin, &symbols);
  if (const std::string problem = acceleratorTableProblem(doc.text(), table); !problem.empty()) {
    c.err << problem << '\n';
    return kFailed;
  }
  if (row > table.rows.size()) {
    c.err << "La tabella " << args[1] << " ha " << table.rows.size() << " righe.\n";
    return kFailed;
  }
  const Accelerator& written = table.rows[row - 1];
  const AcceleratorContext context = acceleratorContext(doc, &symbols);
  // The key and the ID as accelerators prints them leave the row as it is.
  Edit edit;
  if (key && *key != written.label) {
    const auto asked = parseAcceleratorKey(*key);
    if (!asked) {
      c.err << "Tasto non riconosciuto: " << *key << ".\n";
      return kFailed;
    }
    edit = setAcceleratorKey(doc.text(), table, row - 1, *asked, context);
  }
  if (id && *id != doc.display(written.id)) {
    const Edit idEdit = setAcceleratorId(doc.text(), table, row - 1, doc.scriptBytes(*id), context);
    if (edit.label.empty()) edit.label = idEdit.label;
    edit.splices.insert(edit.splices.end(), idEdit.splices.begin(), idEdit.splices.end());
    std::sort(edit.splices.begin(), edit.splices.end(),
              [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
  }
  return commitAndSave(c, doc, edit);
}

}  // namespace kolvre::cli
