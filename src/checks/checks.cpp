#include "checks/checks.h"

#include <algorithm>

#include "checks/check_context.h"
#include "checks/script_checks.h"

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

std::vector<Finding> checkScript(std::string_view text, const std::string& fileName,
                                 const TextMeasure* measure) {
  const std::vector<Statement> statements = readStatements(text);
  const ResourceIndex index = indexResources(text, statements, ListedKinds::All);
  const SymbolTable symbols = scriptSymbols(text, fileName);
  const CheckContext context{text, statements, index, &symbols, fileName, measure};
  std::vector<Finding> found = checkScriptResources(context);
  // In the order of the text; each resource's findings in the order the rules gave them.
  std::stable_sort(found.begin(), found.end(),
                   [](const Finding& a, const Finding& b) { return a.offset < b.offset; });
  return found;
}

std::vector<std::vector<Finding>> checkScripts(const std::vector<ScriptSource>& scripts,
                                               const TextMeasure* measure) {
  std::vector<std::vector<Finding>> found;
  for (const ScriptSource& script : scripts)
    found.push_back(checkScript(script.text, script.fileName, measure));
  return found;
}

}  // namespace kolvre
