#include "checks/checks.h"

namespace kolvre {

std::vector<Finding> checkScript(std::string_view, const std::string&, const TextMeasure*) {
  return {};
}

std::vector<std::vector<Finding>> checkScripts(const std::vector<ScriptSource>& scripts,
                                               const TextMeasure* measure) {
  std::vector<std::vector<Finding>> found;
  for (const ScriptSource& script : scripts)
    found.push_back(checkScript(script.text, script.fileName, measure));
  return found;
}

}  // namespace kolvre
