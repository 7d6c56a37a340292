#include "checks/checks.h"

#include <algorithm>
#include <memory>

#include "checks/check_context.h"
#include "checks/dialog_checks.h"
#include "checks/script_checks.h"
#include "checks/translations.h"

namespace kolvre {

Finding findingAt(const CheckContext& context, std::size_t entry, CheckRule rule,
                  std::string message) {
  Finding found;
  found.rule = rule;
  found.resource = keyAt(context.index, entry);
  found.language = context.index[entry].language;
  found.offset = context.index[entry].offset;
  found.message = std::move(message);
  return found;
}

namespace {

// One script read for the checks: what its context refers to, and its dialogs.
struct ScriptRun {
  ScriptRun(std::string_view text, const std::string& fileName, const TextMeasure* measure,
            bool utf16File)
      : statements(readStatements(text)),
        index(indexResources(text, statements, ListedKinds::All)),
        symbols(scriptSymbols(text, fileName)),
        context{text, statements, index, &symbols, fileName, measure, utf16File},
        dialogs(readCheckedDialogs(context, utf16File)) {}
  ScriptRun(const ScriptRun&) = delete;

  const CheckedDialog* dialogNamed(std::string_view name) const {
    for (const CheckedDialog& d : dialogs)
      if (sameName(index[d.entry].name, name)) return &d;
    return nullptr;
  }

  std::vector<Statement> statements;
  ResourceIndex index;
  SymbolTable symbols;
  CheckContext context;
  std::vector<CheckedDialog> dialogs;
};

// The script's own findings; a dialog whose name `earlier` holds is compared with that one
// instead of with its first language here.
std::vector<Finding> findingsOf(const ScriptRun& run,
                                const std::vector<const ScriptRun*>& earlier) {
  const CheckContext& context = run.context;
  std::vector<Finding> found = checkScriptResources(context);
  for (const CheckedDialog& checked : run.dialogs) {
    const IndexEntry& entry = run.index[checked.entry];
    const Finding frame = findingAt(context, checked.entry, CheckRule::OutsideClient, {});
    std::vector<Finding> own = checkDialog(checked, context.measure, context.symbols, frame);
    found.insert(found.end(), own.begin(), own.end());
    const CheckedDialog* original = nullptr;
    std::string originalLanguage;
    for (const ScriptRun* other : earlier) {
      if ((original = other->dialogNamed(entry.name))) {
        originalLanguage = other->index[original->entry].language;
        break;
      }
    }
    if (!original) {
      const std::vector<std::size_t> same = translationEntries(run.index, checked.entry);
      if (same.front() == checked.entry) continue;
      for (const CheckedDialog& d : run.dialogs)
        if (d.entry == same.front()) original = &d;
      if (!original) continue;
      originalLanguage = run.index[original->entry].language;
    }
    std::vector<Finding> compared =
        compareTranslation(*original, originalLanguage, checked, context.measure, frame);
    found.insert(found.end(), compared.begin(), compared.end());
  }
  preferTranslationFindings(found);
  // In the order of the text; each resource's findings in the order the rules gave them.
  std::stable_sort(found.begin(), found.end(),
                   [](const Finding& a, const Finding& b) { return a.offset < b.offset; });
  return found;
}

}  // namespace

std::vector<Finding> checkScript(std::string_view text, const std::string& fileName,
                                 const TextMeasure* measure, bool utf16File) {
  const ScriptRun run(text, fileName, measure, utf16File);
  return findingsOf(run, {});
}

std::vector<std::vector<Finding>> checkScripts(const std::vector<ScriptSource>& scripts,
                                               const TextMeasure* measure) {
  std::vector<std::unique_ptr<ScriptRun>> runs;
  std::vector<const ScriptRun*> earlier;
  std::vector<std::vector<Finding>> found;
  for (const ScriptSource& script : scripts) {
    runs.push_back(
        std::make_unique<ScriptRun>(script.text, script.fileName, measure, script.utf16File));
    found.push_back(findingsOf(*runs.back(), earlier));
    earlier.push_back(runs.back().get());
  }
  return found;
}

}  // namespace kolvre
