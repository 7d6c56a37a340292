// The checks of whole scripts: every rule of findings.h over one script, and the translations
// of several scripts compared with the first that holds each resource.
#pragma once

#include <string>
#include <vector>

#include "checks/findings.h"
#include "checks/text_measure.h"
#include "syntax/symbols.h"

namespace kolvre {

// The findings of one script `text` (as the document holds it), whose file is `fileName` (its
// folder holds the headers it includes and the files it names; empty for a script not read
// from a file; `utf16File` when it was read from UTF-16). A null `measure` skips the rules that
// measure texts. In the order of the resources in the text. `kept` (when given) holds headers
// whose text the editor holds in place of the file's (Document::headerTexts).
std::vector<Finding> checkScript(std::string_view text, const std::string& fileName,
                                 const FontMeasure* measure, bool utf16File = false,
                                 const HeaderTexts* kept = nullptr);

struct ScriptSource {
  std::string fileName;
  std::string text;
  bool utf16File = false;
};

// The findings of each script (in the order given), and the translations compared across them:
// a resource that a later script also holds is compared with the first script that holds it,
// and the findings go to the later one.
std::vector<std::vector<Finding>> checkScripts(const std::vector<ScriptSource>& scripts,
                                               const FontMeasure* measure);

}  // namespace kolvre
